#include "platform/data/ConnectionDecorator.h"

namespace xel {

const char* ConnectionDecorator::NameOf(Call call) {
  switch (call) {
    case Call::BeginTrans:
      return "BeginTrans";
    case Call::CommitTrans:
      return "CommitTrans";
    case Call::RollbackTrans:
      return "RollbackTrans";
    case Call::Execute:
      break;
  }
  return "Execute";
}

template <class Pass>
auto ConnectionDecorator::Forward(Call call, const std::string& text, const Parameters& parameters,
                                  Pass&& pass) {
  Before(call, text, parameters);
  try {
    return pass();
  } catch (const RuntimeError& failure) {
    AfterFailure(failure);
    throw;
  }
}

std::unique_ptr<Recordset> ConnectionDecorator::DoExecute(const std::string& text,
                                                          const Parameters& parameters) {
  return Forward(Call::Execute, text, parameters, [&] { return inner_.Execute(text, parameters); });
}

void ConnectionDecorator::BeginTrans() {
  Forward(Call::BeginTrans, {}, {}, [&] { inner_.BeginTrans(); });
}

void ConnectionDecorator::CommitTrans() {
  Forward(Call::CommitTrans, {}, {}, [&] { inner_.CommitTrans(); });
}

void ConnectionDecorator::RollbackTrans() {
  Forward(Call::RollbackTrans, {}, {}, [&] { inner_.RollbackTrans(); });
}

}  // namespace xel
