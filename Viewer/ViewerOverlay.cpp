// What the viewer hands the window to draw over the document.
#include <algorithm>

#include "Viewer/Inspection.h"
#include "Viewer/Viewer.h"

namespace ZEL {

OverlayModel Viewer::BuildOverlay() {
    OverlayModel overlay;
    overlay.error = m_Error;
    overlay.inspector = m_Inspector;
    overlay.shapes = m_ShowShapes;
    overlay.paused = m_Transport.Paused();
    overlay.click = m_Click;
    if (m_Inspector) {
        AddInspector(&overlay);
    }
    if (m_ShowShapes) {
        AddShapes(&overlay);
    }
    return overlay;
}

void Viewer::AddInspector(OverlayModel* overlay) {
    overlay->fileName = m_Config.document;
    overlay->documentSeconds = DocumentSeconds();
    overlay->framesPerSecond = m_Stats.FramesPerSecond();
    overlay->lastReload = m_LastReload;
    overlay->frames = m_Stats.Series();
    if (IScenimator* document = Document()) {
        Inspection::Animations(*document, &overlay->animations);
        Inspection::Variables(*document, &overlay->variables);
    }
}

void Viewer::AddShapes(OverlayModel* overlay) {
    IScenimator* document = Document();
    if (!document) {
        return;
    }
    Inspection::Shapes(*document, PixelsPerDip(), m_PointerX, m_PointerY, &overlay->shapeRows);
    const std::vector<std::string>& clicked = m_Click.shapes;
    for (ShapeRow& row : overlay->shapeRows) {
        row.clicked = std::find(clicked.begin(), clicked.end(), row.name) != clicked.end();
    }
}

}  // namespace ZEL
