// The C++ library's error paths, made small. Its own versions of these build their
// messages in std::logic_error and friends, which carry a second, reference-counted
// string implementation and printf into the program: a fifth of its size. The
// program catches none of these by type; its window procedure's barrier catches all.
#include <cstdlib>
#include <exception>
#include <new>

namespace {

struct LibraryError : std::exception {
    const char* what() const noexcept override { return "C++ library error"; }
};

}  // namespace

namespace std {
void __throw_logic_error(const char*) { throw LibraryError(); }
void __throw_length_error(const char*) { throw LibraryError(); }
void __throw_out_of_range(const char*) { throw LibraryError(); }
void __throw_out_of_range_fmt(const char*, ...) { throw LibraryError(); }
void __throw_invalid_argument(const char*) { throw LibraryError(); }
void __throw_bad_alloc() { throw std::bad_alloc(); }
void __throw_bad_array_new_length() { throw std::bad_array_new_length(); }
}  // namespace std

// The library's default terminate handler prints demangled type names and drags in
// the demangler; the program has nothing to print to.
namespace __gnu_cxx {
void __verbose_terminate_handler() { std::abort(); }
}  // namespace __gnu_cxx
