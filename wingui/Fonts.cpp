#include "wingui/Fonts.h"

#include "launch/Errors.h"

namespace wingui {

namespace {

// The weight a face is drawn in. "Arial Black" is a face of its own whose only weight is
// black; asking for that weight matches it exactly where it is installed, and where it is
// missing the substitute face is still drawn heavy instead of looking like body text.
int WeightOf(const std::string& face) {
  return lstrcmpiA(face.c_str(), "Arial Black") == 0 ? FW_BLACK : FW_NORMAL;
}

}  // namespace

UniqueHfont MakeFont(const std::string& face, int pixelHeight) {
  HFONT font = CreateFontA(-pixelHeight, 0, 0, 0, WeightOf(face), FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                           OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                           DEFAULT_PITCH | FF_DONTCARE, face.c_str());
  if (!font) throw launch::Error("Cannot create the font " + face);
  return UniqueHfont(font);
}

}  // namespace wingui
