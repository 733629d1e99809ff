// The component tree: who frees whom and in what order, who hears of removals, and the
// loading protocol. Pure C++ behaviour, no windows involved.
#include "wingui/Component.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using wingui::Component;
using wingui::Operation;

std::vector<std::string> g_log;

class Probe : public Component {
 public:
  Probe(Component* owner, std::string name) : Component(owner), name_(std::move(name)) {}
  ~Probe() override { g_log.push_back("free " + name_); }
  void Loaded() override {
    g_log.push_back("loaded " + name_ + (Loading() ? " while loading" : ""));
  }
  void Notification(Component* component, Operation operation) override {
    if (operation == Operation::Remove) {
      removed.push_back(component);
      if (component == watched) watched = nullptr;
    }
  }
  std::vector<Component*> removed;
  Component* watched = nullptr;

 private:
  std::string name_;
};

TEST(ComponentTree, OwnerFreesOwnedNewestFirstAndNestedBeforeItself) {
  g_log.clear();
  auto* root = new Probe(nullptr, "root");
  new Probe(root, "a");
  auto* b = new Probe(root, "b");
  new Probe(b, "b1");
  new Probe(root, "c");
  EXPECT_EQ(root->Components().size(), 3u);
  delete root;
  // Each destructor logs on entry, before its Component part frees what it owns.
  EXPECT_EQ(g_log, (std::vector<std::string>{"free root", "free c", "free b", "free b1", "free a"}));
}

TEST(ComponentTree, DestroyedComponentLeavesOwnerAndSiblingsAreTold) {
  g_log.clear();
  Probe owner(nullptr, "owner");
  auto* menu = new Probe(&owner, "menu");
  auto* tray = new Probe(&owner, "tray");
  auto* other = new Probe(&owner, "other");
  tray->watched = menu;
  delete menu;
  EXPECT_EQ(tray->watched, nullptr) << "the sibling's reference was not dropped";
  EXPECT_EQ(tray->removed, std::vector<Component*>{menu});
  EXPECT_EQ(other->removed, std::vector<Component*>{menu});
  EXPECT_EQ(owner.Components(), (std::vector<Component*>{tray, other}));
}

TEST(ComponentTree, MemberComponentsLeaveTheirOwnerBeforeItsComponentPart) {
  // A form that holds its components as data members: no double free on destruction.
  struct Holder : Component {
    Holder() : Component(nullptr), first(this, "first"), second(this, "second") {}
    Probe first;
    Probe second;
  };
  g_log.clear();
  {
    Holder holder;
    new Probe(&holder, "heap");
    EXPECT_EQ(holder.Components().size(), 3u);
  }
  EXPECT_EQ(g_log, (std::vector<std::string>{"free second", "free first", "free heap"}));
}

TEST(ComponentLoading, LoadedRunsInCreationOrderAfterLoadingEnds) {
  g_log.clear();
  Probe form(nullptr, "form");
  form.BeginLoading();
  auto* a = new Probe(&form, "a");
  new Probe(&form, "b");
  new Probe(&form, "c");
  EXPECT_TRUE(a->Loading()) << "owned components load with their owner";
  EXPECT_TRUE(form.Loading());
  EXPECT_TRUE(g_log.empty());
  form.EndLoading();
  EXPECT_FALSE(a->Loading());
  EXPECT_EQ(g_log, (std::vector<std::string>{"loaded a", "loaded b", "loaded c"}));
}

TEST(ComponentLoading, ComponentFreedByAnEarlierLoadedIsSkipped) {
  struct Freeing : Probe {
    using Probe::Probe;
    void Loaded() override {
      Probe::Loaded();
      delete victim;
    }
    Component* victim = nullptr;
  };
  g_log.clear();
  Probe form(nullptr, "form");
  form.BeginLoading();
  auto* first = new Freeing(&form, "first");
  first->victim = new Probe(&form, "victim");
  new Probe(&form, "last");
  form.EndLoading();
  EXPECT_EQ(g_log, (std::vector<std::string>{"loaded first", "free victim", "loaded last"}));
}

}  // namespace
