#pragma once

#include "platform/text/RuntimeError.h"

namespace xel::testing {

// The run-time error a call throws; number 0 and "(no failure)" when it throws none.
template <class Call>
RuntimeError FailureOf(Call&& call) {
  try {
    call();
  } catch (const RuntimeError& e) {
    return e;
  }
  return RuntimeError(0, "(no failure)");
}

}  // namespace xel::testing
