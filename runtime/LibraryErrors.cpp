// The errors the standard library raises from inside its containers and strings (an index
// out of range, a length beyond the maximum, a string made from a null pointer).
//
// The library raises them through these functions. Its own versions build std::logic_error
// and its relatives, which keep their text in the library's older reference-counted string;
// linking them brings a second complete string implementation into the program (about 60 KB,
// a fifth of the exe). These versions are linked into the program in their place and raise the
// program's own error with the same text, so the error box shows what the library would
// have said. Every function of the library's set is defined here: the linker then never
// needs the library's object, and would refuse to link if it were pulled in beside these.
#include <bits/functexcept.h>

#include <cstdarg>
#include <cstddef>
#include <new>
#include <string>
#include <typeinfo>
#include <utility>

#include "launch/Errors.h"

namespace {

[[noreturn]] void Throw(const char* text) { throw launch::Error(text ? text : ""); }

// The library's messages use "%zu", "%s" and "%%" only (its own formatter knows no more).
std::string Format(const char* format, va_list arguments) {
  std::string text;
  for (const char* p = format; *p; ++p) {
    if (*p != '%') {
      text += *p;
    } else if (p[1] == '%') {
      text += '%';
      ++p;
    } else if (p[1] == 's') {
      const char* argument = va_arg(arguments, const char*);
      text += argument ? argument : "(null)";
      ++p;
    } else if (p[1] == 'z' && p[2] == 'u') {
      text += std::to_string(va_arg(arguments, std::size_t));
      p += 2;
    } else {
      text += *p;
    }
  }
  return text;
}

}  // namespace

namespace std {

void __throw_bad_exception() { throw bad_exception(); }
void __throw_bad_alloc() { throw bad_alloc(); }
void __throw_bad_array_new_length() { throw bad_array_new_length(); }
void __throw_bad_cast() { throw bad_cast(); }
void __throw_bad_typeid() { throw bad_typeid(); }
void __throw_logic_error(const char* text) { Throw(text); }
void __throw_domain_error(const char* text) { Throw(text); }
void __throw_invalid_argument(const char* text) { Throw(text); }
void __throw_length_error(const char* text) { Throw(text); }
void __throw_out_of_range(const char* text) { Throw(text); }
void __throw_runtime_error(const char* text) { Throw(text); }
void __throw_range_error(const char* text) { Throw(text); }
void __throw_overflow_error(const char* text) { Throw(text); }
void __throw_underflow_error(const char* text) { Throw(text); }

void __throw_out_of_range_fmt(const char* format, ...) {
  va_list arguments;
  va_start(arguments, format);
  std::string text = Format(format, arguments);
  va_end(arguments);
  throw launch::Error(std::move(text));
}

}  // namespace std
