// What a recorded call is, and how one is printed in a test's failure message.
//
// A record is a plain struct named after the function, holding its arguments as members, with a
// `kName` and a defaulted `operator==`:
//
//   struct SetForegroundWindow {
//     static constexpr std::string_view kName = "SetForegroundWindow";
//     HWnd window;
//     bool operator==(const SetForegroundWindow&) const = default;
//   };
//
// It prints as `SetForegroundWindow(1234)`: its members are found by aggregate decomposition,
// so a record needs no printing code of its own. Members may be numbers, Booleans, texts,
// arrays and vectors, and plain structs of those (printed in braces).
#pragma once

#include <cstddef>
#include <cstdint>
#include <iomanip>
#include <ostream>
#include <string>
#include <string_view>
#include <type_traits>
#include <utility>

namespace os::fake {

template <typename R>
concept Record = std::is_aggregate_v<R> && std::equality_comparable<R> && requires {
  { R::kName } -> std::convertible_to<std::string_view>;
};

namespace detail {

// Stands for any member in a brace initialiser, to count an aggregate's members.
struct AnyMember {
  template <typename T>
  operator T() const;  // never defined: only used in unevaluated checks
};

template <typename T, std::size_t... I>
constexpr bool InitialisableWith(std::index_sequence<I...>) {
  return requires { T{(static_cast<void>(I), AnyMember{})...}; };
}

constexpr std::size_t kMaxMembers = 12;

template <typename T, std::size_t N = 0>
constexpr std::size_t MemberCount() {
  if constexpr (!InitialisableWith<T>(std::make_index_sequence<N + 1>{})) {
    return N;
  } else {
    static_assert(N < kMaxMembers, "a struct with this many members cannot be printed");
    return MemberCount<T, N + 1>();
  }
}

template <typename F, typename... M>
void CallEach(F& f, const M&... members) {
  (f(members), ...);
}

// Calls `f` with each member of the aggregate, in order.
template <typename T, typename F>
void ForEachMember(const T& value, F&& f) {
  constexpr std::size_t n = MemberCount<T>();
  if constexpr (n == 1) {
    const auto& [a] = value;
    CallEach(f, a);
  } else if constexpr (n == 2) {
    const auto& [a, b] = value;
    CallEach(f, a, b);
  } else if constexpr (n == 3) {
    const auto& [a, b, c] = value;
    CallEach(f, a, b, c);
  } else if constexpr (n == 4) {
    const auto& [a, b, c, d] = value;
    CallEach(f, a, b, c, d);
  } else if constexpr (n == 5) {
    const auto& [a, b, c, d, e] = value;
    CallEach(f, a, b, c, d, e);
  } else if constexpr (n == 6) {
    const auto& [a, b, c, d, e, g] = value;
    CallEach(f, a, b, c, d, e, g);
  } else if constexpr (n == 7) {
    const auto& [a, b, c, d, e, g, h] = value;
    CallEach(f, a, b, c, d, e, g, h);
  } else if constexpr (n == 8) {
    const auto& [a, b, c, d, e, g, h, i] = value;
    CallEach(f, a, b, c, d, e, g, h, i);
  } else if constexpr (n == 9) {
    const auto& [a, b, c, d, e, g, h, i, j] = value;
    CallEach(f, a, b, c, d, e, g, h, i, j);
  } else if constexpr (n == 10) {
    const auto& [a, b, c, d, e, g, h, i, j, k] = value;
    CallEach(f, a, b, c, d, e, g, h, i, j, k);
  } else if constexpr (n == 11) {
    const auto& [a, b, c, d, e, g, h, i, j, k, l] = value;
    CallEach(f, a, b, c, d, e, g, h, i, j, k, l);
  } else if constexpr (n == 12) {
    const auto& [a, b, c, d, e, g, h, i, j, k, l, m] = value;
    CallEach(f, a, b, c, d, e, g, h, i, j, k, l, m);
  }
}

// A text in double quotes, with line ends, NULs and other control bytes escaped.
inline void PrintText(std::ostream& out, std::string_view text) {
  out << '"';
  for (char c : text) {
    auto byte = static_cast<unsigned char>(c);
    if (c == '"' || c == '\\')
      out << '\\' << c;
    else if (c == '\r')
      out << "\\r";
    else if (c == '\n')
      out << "\\n";
    else if (byte < 0x20 || byte == 0x7F)
      out << "\\x" << std::hex << std::setw(2) << std::setfill('0') << static_cast<unsigned>(byte) << std::dec;
    else
      out << c;
  }
  out << '"';
}

template <typename T>
void PrintValue(std::ostream& out, const T& value);

template <typename T>
void PrintList(std::ostream& out, const T& values, char open, char close) {
  out << open;
  const char* separator = "";
  for (const auto& value : values) {
    out << separator;
    PrintValue(out, value);
    separator = ", ";
  }
  out << close;
}

template <typename T>
void PrintMembers(std::ostream& out, const T& value, char open, char close) {
  out << open;
  const char* separator = "";
  ForEachMember(value, [&](const auto& member) {
    out << separator;
    PrintValue(out, member);
    separator = ", ";
  });
  out << close;
}

template <typename T>
void PrintValue(std::ostream& out, const T& value) {
  if constexpr (std::is_same_v<T, bool>)
    out << (value ? "true" : "false");
  else if constexpr (std::is_integral_v<T>)
    out << +value;  // a byte prints as a number
  else if constexpr (std::is_convertible_v<const T&, std::string_view>)
    PrintText(out, value);
  else if constexpr (requires { value.begin(); value.end(); })
    PrintList(out, value, '[', ']');
  else if constexpr (std::is_aggregate_v<T>)
    PrintMembers(out, value, '{', '}');
  else if constexpr (requires { value.time_since_epoch().count(); })
    out << value.time_since_epoch().count() << " s";  // a date-time, as seconds of its clock
  else
    out << value;
}

}  // namespace detail

// `Name(argument, ...)`, for the messages of failed comparisons.
template <Record R>
std::ostream& operator<<(std::ostream& out, const R& record) {
  out << R::kName;
  detail::PrintMembers(out, record, '(', ')');
  return out;
}

}  // namespace os::fake
