// The standard library's own errors, as the program raises them: the program's error type
// with the library's text, arguments filled in.
#include <gtest/gtest.h>

#include <cstddef>
#include <new>
#include <string>
#include <vector>

#include "launch/Errors.h"

namespace {

template <typename Action>
std::string ErrorText(Action action) {
  try {
    action();
  } catch (const launch::Error& e) {
    return e.what();
  }
  ADD_FAILURE() << "no launch::Error was raised";
  return {};
}

TEST(LibraryErrors, IndexErrorsCarryTheLibraryTextWithTheirNumbers) {
  std::vector<int> empty;
  EXPECT_EQ(ErrorText([&] { (void)empty.at(5); }),
            "vector::_M_range_check: __n (which is 5) >= this->size() (which is 0)");
  const std::string abc = "abc";
  EXPECT_EQ(ErrorText([&] { (void)abc.substr(7); }),
            "basic_string::substr: __pos (which is 7) > this->size() (which is 3)");
  EXPECT_EQ(ErrorText([&] { (void)abc.at(4294967295u); }),
            "basic_string::at: __n (which is 4294967295) >= this->size() (which is 3)");
}

TEST(LibraryErrors, LengthAndNullErrorsCarryTheLibraryText) {
  std::string text;
  EXPECT_EQ(ErrorText([&] { text.reserve(text.max_size() + 1); }), "basic_string::_M_create");
  const char* volatile none = nullptr;
  EXPECT_EQ(ErrorText([&] { std::string made(none); }),
            "basic_string: construction from null is not valid");
  std::vector<int> numbers;
  EXPECT_EQ(ErrorText([&] { numbers.reserve(numbers.max_size() + 1); }), "vector::reserve");
}

TEST(LibraryErrors, AllocationErrorsKeepTheirStandardTypes) {
  volatile std::size_t huge = static_cast<std::size_t>(-1);
  EXPECT_THROW(delete[] new int[huge], std::bad_array_new_length);
  std::vector<char> bytes;
  EXPECT_THROW(bytes.resize(bytes.max_size() - 16), std::bad_alloc);
}

}  // namespace
