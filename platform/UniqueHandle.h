#pragma once

#include <cstdint>
#include <type_traits>
#include <utility>

namespace velquin {

// Owns a C library's or the system's handle, so that every way out closes it; move-only.
// `Close(handle)` closes it; `Invalid` is the value that holds nothing. A pointer handle whose
// "nothing" is -1 (iconv_t, Windows' HANDLE) takes that integer, which a template argument
// cannot hold as a pointer.
template <class Handle, auto Close, auto Invalid>
class UniqueHandle {
 public:
  static Handle invalid() {
    if constexpr (std::is_pointer_v<Handle> && std::is_integral_v<decltype(Invalid)>)
      return reinterpret_cast<Handle>(static_cast<std::intptr_t>(Invalid));
    else
      return Invalid;
  }

  explicit UniqueHandle(Handle handle = invalid()) : handle_(handle) {}
  UniqueHandle(UniqueHandle&& other) noexcept : handle_(other.release()) {}
  UniqueHandle& operator=(UniqueHandle&& other) noexcept {
    reset(other.release());
    return *this;
  }
  ~UniqueHandle() { reset(); }

  Handle get() const { return handle_; }
  bool valid() const { return handle_ != invalid(); }
  // Hands the handle over to the caller, who closes it.
  Handle release() { return std::exchange(handle_, invalid()); }
  // Closes the handle held, if any, and takes `handle` instead.
  void reset(Handle handle = invalid()) {
    if (valid()) Close(handle_);
    handle_ = handle;
  }

 private:
  Handle handle_;
};

}  // namespace velquin
