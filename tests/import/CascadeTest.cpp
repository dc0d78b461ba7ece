// Which declaration wins: presentation attributes, style sheets by specificity and order,
// the style attribute; and what inherits down groups.
#include <gtest/gtest.h>

#include "Import/Diagnostics.h"
#include "Import/Style.h"
#include "Import/StyleSheet.h"
#include "Import/SvgFile.h"

using namespace Import;

namespace {

class CascadeTest : public ::testing::Test {
  protected:
    const Element& Load(const std::string& body) {
        m_Root = ParseSvgText("<svg xmlns='http://www.w3.org/2000/svg'>" + body + "</svg>");
        CollectStyleSheets(*m_Root, &m_Diag).Cascade(m_Root.get());
        return *m_Root;
    }
    const Element* Find(const Element& e, const std::string& id) {
        if (e.Id() == id)
            return &e;
        for (const auto& child : e.children) {
            if (const Element* found = Find(*child, id))
                return found;
        }
        return nullptr;
    }
    std::string Fill(const std::string& id) {
        const Element* e = Find(*m_Root, id);
        EXPECT_TRUE(e) << id;
        auto it = e->declared.find("fill");
        return it == e->declared.end() ? "" : it->second;
    }
    Diagnostics m_Diag{"in.svg"};
    std::unique_ptr<Element> m_Root;
};

}  // namespace

TEST_F(CascadeTest, SpecificityBeatsOrderAndTheStyleAttributeBeatsAll) {
    Load(R"~(<style>
          #a { fill: blue }
          rect.c { fill: purple }
          .c { fill: red }
          rect { fill: green }
          .c { fill: orange }
        </style>
        <rect id="a" class="c" fill="yellow"/>
        <rect id="b" class="c x" fill="yellow"/>
        <rect id="c" fill="yellow"/>
        <rect id="d" class="c" style="fill: black" fill="yellow"/>
        <circle id="e" class="c"/>
        <circle id="f" fill="yellow"/>)~");
    EXPECT_EQ(Fill("a"), "blue");    // id beats classes and types
    EXPECT_EQ(Fill("b"), "purple");  // type + class beats class alone, whatever the order
    EXPECT_EQ(Fill("c"), "green");   // a type selector beats the presentation attribute
    EXPECT_EQ(Fill("d"), "black");   // the style attribute beats every rule
    EXPECT_EQ(Fill("e"), "orange");  // equal specificity: the later rule
    EXPECT_EQ(Fill("f"), "yellow");  // no rule: the presentation attribute
}

TEST_F(CascadeTest, CompoundsAndCombinatorsMatchWhereTheyShould) {
    Load(R"~(<style>
          g.layer > rect { fill: red }
          svg .deep { fill: blue }
          .a.b { fill: green }
          g rect#z { fill: #123 }
        </style>
        <g class="layer"><rect id="child"/><g><rect id="grandchild"/></g></g>
        <rect id="deep" class="deep"/>
        <rect id="both" class="b a"/><rect id="one" class="a"/>
        <g><g><rect id="z"/></g></g>)~");
    EXPECT_EQ(Fill("child"), "red");
    EXPECT_EQ(Fill("grandchild"), "");  // '>' is the child combinator only
    EXPECT_EQ(Fill("deep"), "blue");
    EXPECT_EQ(Fill("both"), "green");
    EXPECT_EQ(Fill("one"), "");
    EXPECT_EQ(Fill("z"), "#123");
}

TEST_F(CascadeTest, UnknownCssIsReportedAndSkipped) {
    Load(R"~(<style>
          @import url(other.css);
          @media print { rect { fill: red } }
          rect:hover, rect[x] { fill: blue }
          rect, .ok { stroke: green; fill: gray !important }
        </style><rect id="r"/>)~");
    EXPECT_EQ(Fill("r"), "gray");
    std::string all;
    for (const auto& w : m_Diag.Warnings()) all += w + "\n";
    EXPECT_NE(all.find("in.svg:1: warning: CSS @import is not imported"), std::string::npos) << all;
    EXPECT_NE(all.find("CSS @media is not imported"), std::string::npos) << all;
    EXPECT_NE(all.find("CSS selector \"rect:hover\" is not imported"), std::string::npos) << all;
    EXPECT_NE(all.find("CSS selector \"rect[x]\" is not imported"), std::string::npos) << all;
}

TEST_F(CascadeTest, InheritanceRunsDownGroupsAndOpacityDoesNot) {
    const Element& root = Load(R"~(<g id="g" fill="red" stroke-width="3" opacity="0.5"
        style="font-size: 20px"><rect id="r" font-size="2em" fill-opacity="inherit"/></g>)~");
    const Element& g = *root.children[0];
    const Element& r = *g.children[0];
    const Style gs = ComputeStyle(Style(), g, &m_Diag);
    const Style rs = ComputeStyle(gs, r, &m_Diag);
    EXPECT_EQ(rs.fill.color.r, 1);
    EXPECT_EQ(rs.strokeWidth.value, 3);
    EXPECT_EQ(gs.opacity, 0.5);
    EXPECT_EQ(rs.opacity, 1);
    EXPECT_EQ(rs.fontSizePx, 40);
}
