#pragma once
// The one shape in which the domain answers: a value, or the failure to show
// the user. The failure is the exact message text unless an operation needs to
// say more (then E is a small record that carries the message).
//
//   Result<TransImpedance> r = CalcTransImpedance(scheme, power);
//   if (!r) show(r.error());
//   else use(r->rt);

#include <string>
#include <string_view>
#include <utility>
#include <variant>

namespace tesmir {

// A failure on its way into a Result, as std::unexpected is for std::expected.
template <class E>
struct Failure {
  E error;
};

// A failure that is just the message text.
inline Failure<std::string> Fail(std::string_view message) { return {std::string(message)}; }

template <class E>
Failure<E> FailWith(E error) {
  return {std::move(error)};
}

template <class T, class E = std::string>
class [[nodiscard]] Result {
 public:
  Result(T value) : data_(std::in_place_index<0>, std::move(value)) {}
  template <class F>
  Result(Failure<F> failure) : data_(std::in_place_index<1>, E(std::move(failure.error))) {}

  bool ok() const { return data_.index() == 0; }
  explicit operator bool() const { return ok(); }

  // The value; only after ok() (std::bad_variant_access otherwise).
  const T& value() const& { return std::get<0>(data_); }
  T& value() & { return std::get<0>(data_); }
  T&& value() && { return std::get<0>(std::move(data_)); }
  const T& operator*() const& { return value(); }
  const T* operator->() const { return &value(); }

  // The failure; only when !ok().
  const E& error() const { return std::get<1>(data_); }

  bool operator==(const Result&) const = default;

 private:
  std::variant<T, E> data_;
};

}  // namespace tesmir
