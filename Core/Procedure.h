#pragma once
#include <memory>
#include <vector>

#include "Core/ExecutableBase.h"

namespace ZEL {

class Procedure : public ExecutableBase {
  public:
    void Append(std::shared_ptr<ExecutableBase> command) {
        m_Commands.push_back(std::move(command));
    }
    void Execute() override {
        for (const auto& command : m_Commands) {
            command->Execute();
        }
    }
    const std::vector<std::shared_ptr<ExecutableBase>>& Commands() const { return m_Commands; }

  private:
    std::vector<std::shared_ptr<ExecutableBase>> m_Commands;
};

// Runs a procedure defined earlier in the document, so calls can never form a cycle.
class CallCommand : public ExecutableBase {
  public:
    explicit CallCommand(std::shared_ptr<Procedure> target) : m_Target(std::move(target)) {}
    void Execute() override { m_Target->Execute(); }
    const std::shared_ptr<Procedure>& Target() const { return m_Target; }

  private:
    std::shared_ptr<Procedure> m_Target;
};

}  // namespace ZEL
