#include "Core/TransformCommands.h"

#include "Core/Scenimator.h"

namespace ZEL {

void PushTransformCommand::Execute() {
    m_Document->PushTransform(*m_Transform);
}

void PopTransformCommand::Execute() {
    m_Document->PopTransform();
}

void CaptureHitTestTransformCommand::Execute() {
    m_Document->SetHitTestTransform(m_Document->GetTopTransform());
}

}  // namespace ZEL
