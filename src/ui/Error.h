// Run-time errors and the "every statement on its own" style of error handling.
#pragma once

#include <functional>
#include <initializer_list>

#include "base/RuntimeError.h"

namespace ui {

using base::RuntimeError;

// Runs each statement in turn; a statement that fails with any exception is skipped silently
// and the next one runs.
void EachStatement(std::initializer_list<std::function<void()>> statements);

// Describes an exception the way the error message box shows it.
std::string DescribeError(const std::exception& error);

}  // namespace ui
