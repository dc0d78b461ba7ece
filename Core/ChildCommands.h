#pragma once
#include <memory>
#include <string>

#include "Core/ExecutableBase.h"
#include "Core/ValueD.h"

namespace ZEL {

class IScenimator;

// Draws a child document under the current transform; its failures stay in the child.
class RenderZelCommand : public ExecutableBase {
  public:
    explicit RenderZelCommand(std::shared_ptr<IScenimator> child) : m_Child(std::move(child)) {}
    void Execute() override;
    const std::shared_ptr<IScenimator>& Child() const { return m_Child; }

  private:
    std::shared_ptr<IScenimator> m_Child;
};

// Writes a child's variable (named as the child writes it, "$" included); unknown names
// change nothing.
class SetZelVarCommand : public ExecutableBase {
  public:
    SetZelVarCommand(std::shared_ptr<IScenimator> child, std::string variable, ValueD value)
        : m_Child(std::move(child)), m_Variable(std::move(variable)), m_Value(value) {}
    void Execute() override;
    const std::shared_ptr<IScenimator>& Child() const { return m_Child; }
    const std::string& Variable() const { return m_Variable; }

  private:
    std::shared_ptr<IScenimator> m_Child;
    std::string m_Variable;
    ValueD m_Value;
};

}  // namespace ZEL
