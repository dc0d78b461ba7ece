#pragma once

namespace ZEL {

class Scenimator;

// Base of every object a document declares; the document owns it and outlives it.
class ScenimatorComponent {
  public:
    virtual ~ScenimatorComponent() = default;
    Scenimator* m_Document = nullptr;
};

}  // namespace ZEL
