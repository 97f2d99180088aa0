// Handles of C libraries (streams, PROJ objects, archive readers) owned like any other
// object: released by their library's own routine when the owner goes away.
#pragma once

#include <memory>

namespace corvane {

template <auto Release>
struct ReleaseWith {
  template <typename T>
  void operator()(T* handle) const {
    Release(handle);
  }
};

// A `T*` released with `Release(T*)`.
template <typename T, auto Release>
using UniqueHandle = std::unique_ptr<T, ReleaseWith<Release>>;

}  // namespace corvane
