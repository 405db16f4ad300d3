// A value or the French message that says why there is none. Engines return it instead of
// throwing, so an error never crosses an event handler.
#pragma once

#include <optional>
#include <string>
#include <utility>

namespace vornelle {

struct Failure {
    std::string message;
};

template <class T>
class Outcome {
  public:
    Outcome(T value) : value_(std::move(value)) {}
    Outcome(Failure failure) : error_(std::move(failure.message)) {}

    bool ok() const { return value_.has_value(); }
    explicit operator bool() const { return ok(); }
    T& operator*() { return *value_; }
    const T& operator*() const { return *value_; }
    T* operator->() { return &*value_; }
    const T* operator->() const { return &*value_; }
    T& value() { return *value_; }
    const T& value() const { return *value_; }
    const std::string& error() const { return error_; }

  private:
    std::optional<T> value_;
    std::string error_;
};

// For operations that give nothing back: empty message means success.
struct Status {
    std::string message;
    bool ok() const { return message.empty(); }
    explicit operator bool() const { return ok(); }
    static Status success() { return {}; }
    static Status failure(std::string m) { return {std::move(m)}; }
};

}  // namespace vornelle
