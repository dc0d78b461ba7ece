// Controller and animation blocks.
#include <utility>

#include "Core/AdditionController.h"
#include "Core/Animation.h"
#include "Core/ConstController.h"
#include "Core/DocumentReader.h"
#include "Core/LinearController.h"
#include "Core/Scenimator.h"
#include "Core/SinusoidalController.h"
#include "Core/Trigger.h"

namespace ZEL {

const DocumentReader::KeywordTable<std::shared_ptr<ControllerBase>>&
DocumentReader::ControllerKeywords() {
    static const KeywordTable<std::shared_ptr<ControllerBase>> kKeywords = {
        {"Const{", &DocumentReader::ReadConst},
        {"Linear{", &DocumentReader::ReadLinear},
        {"Linear2d{", &DocumentReader::ReadLinear2d},
        {"Sinusoidal{", &DocumentReader::ReadSinusoidal},
        {"Addition{", &DocumentReader::ReadAddition},
        {"Trigger{", &DocumentReader::ReadTrigger},
    };
    return kKeywords;
}

std::shared_ptr<ControllerBase> DocumentReader::ReadController() {
    CountObject();
    const std::string keyword = ReadToken();
    const ReadPlace place = Here();
    const auto controller = Dispatch(ControllerKeywords(), keyword, "controller");
    Expect("noOfChildren");
    const int32_t count = ReadInt();
    {
        CountedList list(this, "noOfChildren", count);
        for (int32_t i = 0; i < count; ++i) {
            list.At(i);
            controller->AppendChild(ReadController());
        }
    }
    Expect("}");
    controller->m_Document = m_Document;
    NotePlace(controller.get(), place);
    return controller;
}

ControllerHead DocumentReader::ReadControllerHead() {
    ControllerHead head;
    Expect("target");
    head.target = ReadToken();
    Expect("begin");
    head.begin = ReadInt();
    Expect("end");
    head.end = ReadInt();
    Expect("loops");
    head.loops = ReadInt() != 0;
    return head;
}

std::shared_ptr<ControllerBase> DocumentReader::ReadConst() {
    ControllerHead head = ReadControllerHead();
    Expect("value");
    return std::make_shared<ConstController>(std::move(head), ReadValue());
}

std::shared_ptr<ControllerBase> DocumentReader::ReadLinear() {
    ControllerHead head = ReadControllerHead();
    const ValueD from = ReadField("beginValue");
    const ValueD to = ReadField("endValue");
    return std::make_shared<LinearController>(std::move(head), from, to);
}

// A constant parent writing 0 to the x target, then one linear child for x and one for y.
std::shared_ptr<ControllerBase> DocumentReader::ReadLinear2d() {
    const ControllerHead head = ReadControllerHead();
    Expect("targetY");
    ControllerHead headY = head;
    headY.target = ReadToken();
    const ValueD fromX = ReadField("beginValue");
    const ValueD fromY = ReadValue();
    const ValueD toX = ReadField("endValue");
    const ValueD toY = ReadValue();
    auto x = std::make_shared<LinearController>(head, fromX, toX);
    auto y = std::make_shared<LinearController>(headY, fromY, toY);
    x->m_Document = m_Document;
    y->m_Document = m_Document;
    auto parent = std::make_shared<ConstController>(head, ValueD(0.0f));
    parent->AppendChild(x);
    parent->AppendChild(y);
    return parent;
}

std::shared_ptr<ControllerBase> DocumentReader::ReadSinusoidal() {
    ControllerHead head = ReadControllerHead();
    const ValueD dc = ReadField("dc");
    const ValueD amplitude = ReadField("amplitude");
    const ValueD frequency = ReadField("frequency");
    const ValueD phase = ReadField("phase");
    return std::make_shared<SinusoidalController>(std::move(head), dc, amplitude, frequency, phase);
}

std::shared_ptr<ControllerBase> DocumentReader::ReadAddition() {
    return std::make_shared<AdditionController>(ReadControllerHead());
}

std::shared_ptr<ControllerBase> DocumentReader::ReadTrigger() {
    Expect("begin");
    const int32_t begin = ReadInt();
    Expect("targetZel");
    auto child = LookUpChildZel();
    Expect("targetAnimation");
    return std::make_shared<Trigger>(begin, child, ReadToken());
}

std::shared_ptr<Animation> DocumentReader::ReadAnimation() {
    CountObject();
    Expect(kAnimationKeyword);
    const ReadPlace place = Here();
    Expect("renderFunction");
    const std::string render = ReadToken();
    std::shared_ptr<ExecutableBase> executable;
    if (render != "null") {
        executable = m_Document->FindExecutable(render);
        if (!executable) {
            RaiseParseError("an executable with name \"" + render + "\" does not exist");
        }
    }
    Expect("controller");
    const std::string name = ReadToken();
    std::shared_ptr<ControllerBase> controller;
    if (name != "null") {
        controller = m_Document->FindController(name);
        if (!controller) {
            RaiseParseError("a controller with name \"" + name + "\" does not exist");
        }
    }
    Expect("transitionTarget");
    auto animation = std::make_shared<Animation>(executable, controller, ReadToken());
    Expect("}");
    animation->m_Document = m_Document;
    NotePlace(animation.get(), place);
    return animation;
}

}  // namespace ZEL
