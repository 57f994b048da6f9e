#include "component/library/ServerModule.h"

#include "component/Pantalla.h"
#include "editor/frmXEL02.h"
#include "platform/com/ComRuntime.h"

namespace xel {

ServerModule::ServerModule() = default;
ServerModule::~ServerModule() = default;

void ServerModule::Lock(bool lock) {
  if (lock) {
    ++locks_;
  } else if (locks_ > 0) {
    --locks_;
  }
}

void ServerModule::StartUp() {
  if (publico_.sessionService && publico_.utilityService) {
    return;
  }
  auto session =
      com::CreateObject<SessionService>(ids::ProgID_SessionService, ids::IID_SessionService);
  auto utility =
      com::CreateObject<UtilityService>(ids::ProgID_UtilityService, ids::IID_UtilityService);
  publico_.sessionService = std::move(session);
  publico_.utilityService = std::move(utility);
}

std::shared_ptr<_frmXEL02> ServerModule::Window() {
  try {
    if (!window_) {
      window_ = std::make_shared<frmXEL02>(runtime_, publico_);
    }
    ObjectCreated();
    return std::shared_ptr<_frmXEL02>(window_.get(), [this](_frmXEL02*) { ObjectReleased(); });
  } catch (const std::exception&) {
    return nullptr;
  }
}

}  // namespace xel
