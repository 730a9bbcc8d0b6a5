// UniqueResource: the one move-only holder for every handle-like resource.
//
// Each resource is one alias line:
//   using UniqueHandle = UniqueResource<HANDLE, CloseHandle>;
// The holder owns its value and passes it to Close exactly once, when it is
// reset, reassigned or destroyed; an empty holder (Empty) closes nothing.
// put() releases the current value before handing out its address, so an
// out-parameter call such as GetSomething(holder.put()) can never leak.
#pragma once

#include <utility>

template <typename T, auto Close, T Empty = T{}>
class UniqueResource {
 public:
  UniqueResource() = default;
  explicit UniqueResource(T value) : value_(value) {}
  ~UniqueResource() { reset(); }

  UniqueResource(UniqueResource&& other) noexcept : value_(other.release()) {}
  UniqueResource& operator=(UniqueResource&& other) noexcept {
    reset(other.release());
    return *this;
  }
  UniqueResource(const UniqueResource&) = delete;
  UniqueResource& operator=(const UniqueResource&) = delete;

  T get() const { return value_; }
  T* put() {
    reset();
    return &value_;
  }
  T release() { return std::exchange(value_, Empty); }
  void reset(T value = Empty) {
    T old = std::exchange(value_, value);
    if (old != Empty) Close(old);
  }
  explicit operator bool() const { return value_ != Empty; }

 private:
  T value_ = Empty;
};
