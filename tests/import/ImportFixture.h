#pragma once
#include <gtest/gtest.h>

#include <string>

#include "Import/Converter.h"
#include "Import/Diagnostics.h"
#include "Import/SvgFile.h"
#include "RenderFixture.h"

// Converts SVG text to a document, and draws the document with the engine on the 200x200
// target of RenderFixture.
class ImportFixture : public RenderFixture {
  protected:
    // The document for svg; warnings land in m_Diag.
    std::string Convert(const std::string& svg, Import::ConvertOptions options = {}) {
        m_Root = Import::ParseSvgText(svg);
        return Import::Converter(*m_Root, options, &m_Diag).Run().document;
    }

    // Imports and draws one frame; false when the document does not load or draw.
    bool Draw(const std::string& svg) {
        m_Document = Convert(svg);
        auto doc = LoadOnTarget(m_Document);
        if (!doc)
            return false;
        return Frame(*doc, 0) == ZEL::kSuccess;
    }

    static std::string Svg(const std::string& body, const std::string& extra = "") {
        return "<svg xmlns='http://www.w3.org/2000/svg' "
               "xmlns:xlink='http://www.w3.org/1999/xlink' width='200' height='200' " +
               extra + ">" + body + "</svg>";
    }

    bool Warned(const std::string& text) const {
        for (const auto& w : m_Diag.Warnings()) {
            if (w.find(text) != std::string::npos)
                return true;
        }
        return false;
    }

    bool Near(int x, int y, int r, int g, int b, int tolerance = 6) {
        const Pixel p = At(x, y);
        return std::abs(p.r - r) <= tolerance && std::abs(p.g - g) <= tolerance &&
               std::abs(p.b - b) <= tolerance;
    }

    Import::Diagnostics m_Diag{"in.svg"};
    std::unique_ptr<Import::Element> m_Root;
    std::string m_Document;
};
