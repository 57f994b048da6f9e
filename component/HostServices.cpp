#include "component/HostServices.h"

namespace xel {

namespace {
[[noreturn]] void ServiceMissing() {
  throw RuntimeError(err::ObjectVariableNotSet, "Object variable or With block variable not set");
}
}  // namespace

SessionService& Publico::Session() const {
  if (!sessionService) {
    ServiceMissing();
  }
  return *sessionService;
}

UtilityService& Publico::Utility() const {
  if (!utilityService) {
    ServiceMissing();
  }
  return *utilityService;
}

}  // namespace xel
