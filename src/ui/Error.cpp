#include "ui/Error.h"

#include "base/Convert.h"

namespace ui {

void EachStatement(std::initializer_list<std::function<void()>> statements) {
  for (const auto& statement : statements) {
    try {
      statement();
    } catch (const std::exception&) {
      // Skipped on purpose: the handler goes on with its next statement.
    }
  }
}

std::string DescribeError(const std::exception& error) {
  int number = 0;
  if (auto* runtime = dynamic_cast<const RuntimeError*>(&error)) number = runtime->Number();
  if (dynamic_cast<const base::Overflow*>(&error)) number = base::kOverflow;
  std::string text = error.what();
  return number != 0 ? "Run-time error '" + std::to_string(number) + "':\r\n\r\n" + text : text;
}

}  // namespace ui
