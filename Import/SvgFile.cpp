#include "Import/SvgFile.h"

#include <fcntl.h>
#include <libxml/SAX2.h>
#include <libxml/parser.h>
#include <libxml/tree.h>
#include <libxml/xmlerror.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>
#include <map>

#include "Import/Diagnostics.h"

namespace Import {

namespace {

const char kSvgNamespace[] = "http://www.w3.org/2000/svg";
const char kXlinkNamespace[] = "http://www.w3.org/1999/xlink";
const char kXmlNamespace[] = "http://www.w3.org/XML/1998/namespace";
const char kInkscapeNamespace[] = "http://www.inkscape.org/namespaces/inkscape";

// Nothing outside the SVG is read: every DTD or entity libxml2 would load is refused.
xmlParserInputPtr RefuseExternal(const char*, const char*, xmlParserCtxtPtr) {
    return nullptr;
}

class FileDescriptor {
  public:
    explicit FileDescriptor(int fd) : m_Fd(fd) {}
    ~FileDescriptor() {
        if (m_Fd >= 0) {
            close(m_Fd);
        }
    }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    int Get() const { return m_Fd; }

  private:
    int m_Fd;
};

struct DocFree {
    void operator()(xmlDoc* doc) const { xmlFreeDoc(doc); }
};
struct ContextFree {
    void operator()(xmlParserCtxt* ctxt) const { xmlFreeParserCtxt(ctxt); }
};

std::string Text(const xmlChar* s) {
    return s ? reinterpret_cast<const char*>(s) : "";
}

std::string Owned(xmlChar* s) {
    std::string out = Text(s);
    xmlFree(s);
    return out;
}

void CheckEntity(void* payload, void* data, const xmlChar* name) {
    auto* entity = static_cast<xmlEntity*>(payload);
    auto* external = static_cast<std::string*>(data);
    switch (entity->etype) {
        case XML_EXTERNAL_GENERAL_PARSED_ENTITY:
        case XML_EXTERNAL_GENERAL_UNPARSED_ENTITY:
        case XML_EXTERNAL_PARAMETER_ENTITY:
            if (external->empty()) {
                *external = Text(name);
            }
            break;
        default:
            break;
    }
}

void RejectExternalEntities(xmlDoc* doc) {
    for (xmlDtd* dtd : {doc->intSubset, doc->extSubset}) {
        if (!dtd) {
            continue;
        }
        std::string external;
        for (void* table : {dtd->entities, dtd->pentities}) {
            if (table) {
                xmlHashScan(static_cast<xmlHashTable*>(table), CheckEntity, &external);
            }
        }
        if (!external.empty()) {
            throw ImportError(xmlGetLineNo(reinterpret_cast<xmlNode*>(dtd)) > 0
                                  ? static_cast<int>(xmlGetLineNo(reinterpret_cast<xmlNode*>(dtd)))
                                  : 1,
                              "the external entity \"" + external + "\" is not read");
        }
    }
}

bool InSvgNamespace(const xmlNode* node) {
    return !node->ns ||
           std::strcmp(reinterpret_cast<const char*>(node->ns->href), kSvgNamespace) == 0;
}

std::string AttributeKey(const xmlAttr* attr) {
    const std::string name = Text(attr->name);
    if (!attr->ns) {
        return name;
    }
    const char* ns = reinterpret_cast<const char*>(attr->ns->href);
    if (std::strcmp(ns, kXlinkNamespace) == 0) {
        return name == "href" ? "href" : std::string();
    }
    if (std::strcmp(ns, kXmlNamespace) == 0) {
        return "xml:" + name;
    }
    // Layers are groups that Inkscape marks; the importer treats them as folders.
    if (std::strcmp(ns, kInkscapeNamespace) == 0 && name == "groupmode") {
        return "inkscape:groupmode";
    }
    return {};
}

// What the parse learns beside the tree: the first error (libxml2 keeps only the last) and
// the line each element starts on (libxml2 records where its start tag ends).
struct ParseState {
    const xmlChar* begin = nullptr;    // libxml2's copy of the text
    const xmlChar* counted = nullptr;  // newlines before it are in line
    int line = 1;
    std::map<const xmlNode*, int> startLines;
    bool failed = false;
    int errorLine = 0;
    std::string errorMessage;
};

void KeepFirstError(void* userData, xmlError* error) {
    auto* ctxt = static_cast<xmlParserCtxt*>(userData);
    auto* state = static_cast<ParseState*>(ctxt->_private);
    if (state && !state->failed && error && error->level >= XML_ERR_ERROR) {
        state->failed = true;
        state->errorLine = error->line;
        state->errorMessage = error->message ? error->message : "";
    }
}

void StartElement(void* ctx, const xmlChar* localname, const xmlChar* prefix, const xmlChar* uri,
                  int nbNamespaces, const xmlChar** namespaces, int nbAttributes, int nbDefaulted,
                  const xmlChar** attributes) {
    xmlSAX2StartElementNs(ctx, localname, prefix, uri, nbNamespaces, namespaces, nbAttributes,
                          nbDefaulted, attributes);
    auto* ctxt = static_cast<xmlParserCtxt*>(ctx);
    auto* state = static_cast<ParseState*>(ctxt->_private);
    // Only the document's own text: not the replacement text of an entity.
    if (!state || !ctxt->node || !ctxt->input || ctxt->inputNr != 1) {
        return;
    }
    if (!state->begin) {
        state->begin = state->counted = ctxt->input->base;
    }
    const xmlChar* cur = ctxt->input->cur;
    if (ctxt->input->base != state->begin || cur < state->begin) {
        return;
    }
    // '<' cannot occur inside attribute values: the nearest one before is the tag's start.
    const xmlChar* tag = cur;
    while (tag > state->begin && *tag != '<') --tag;
    if (tag < state->counted) {
        return;
    }
    for (; state->counted < tag; ++state->counted) {
        if (*state->counted == '\n')
            ++state->line;
    }
    state->startLines[ctxt->node] = state->line;
}

class TreeBuilder {
  public:
    TreeBuilder(xmlDoc* doc, const ParseState& state) : m_Doc(doc), m_State(state) {}

    int LineOf(xmlNode* node) const {
        auto found = m_State.startLines.find(node);
        return found != m_State.startLines.end() ? found->second
                                                 : static_cast<int>(xmlGetLineNo(node));
    }

    std::unique_ptr<Element> Build(xmlNode* node, Element* parent, int depth) {
        if (depth > kMaxDepth) {
            throw ImportError(LineOf(node), "elements are nested deeper than 256 levels");
        }
        auto element = std::make_unique<Element>();
        element->name = Text(node->name);
        element->line = LineOf(node);
        element->parent = parent;
        for (xmlAttr* attr = node->properties; attr; attr = attr->next) {
            const std::string key = AttributeKey(attr);
            // href without a namespace (SVG 2) loses against xlink:href only when both exist.
            if (!key.empty() && !(key == "href" && !attr->ns && element->attributes.count(key))) {
                element->attributes[key] = Owned(xmlNodeListGetString(m_Doc, attr->children, 1));
            }
        }
        for (xmlNode* child = node->children; child; child = child->next) {
            AddChild(child, element.get(), depth);
        }
        return element;
    }

  private:
    void AddChild(xmlNode* child, Element* parent, int depth) {
        switch (child->type) {
            case XML_ELEMENT_NODE:
                if (InSvgNamespace(child)) {
                    parent->children.push_back(Build(child, parent, depth + 1));
                }
                break;
            case XML_TEXT_NODE:
            case XML_CDATA_SECTION_NODE:
                AddText(parent, Text(child->content), static_cast<int>(xmlGetLineNo(child)));
                break;
            case XML_ENTITY_REF_NODE:
                // An internal entity's replacement text; libxml2 has bounded its expansion.
                AddText(parent, Owned(xmlNodeListGetString(m_Doc, child, 1)),
                        static_cast<int>(xmlGetLineNo(child)));
                break;
            default:
                break;
        }
    }

    void AddText(Element* parent, const std::string& text, int line) {
        m_TextBytes += text.size();
        if (m_TextBytes > kMaxSvgBytes) {
            throw ImportError(line, "entities expand to more than 64 MiB of text");
        }
        if (!parent->children.empty() && parent->children.back()->name == "#text") {
            parent->children.back()->text += text;
            return;
        }
        auto node = std::make_unique<Element>();
        node->name = "#text";
        node->line = line > 0 ? line : parent->line;
        node->parent = parent;
        node->text = text;
        parent->children.push_back(std::move(node));
    }

    xmlDoc* m_Doc;
    const ParseState& m_State;
    size_t m_TextBytes = 0;
};

std::string ErrorMessage(std::string message) {
    if (message.empty())
        message = "not well-formed XML";
    while (!message.empty() && (message.back() == '\n' || message.back() == ' ')) {
        message.pop_back();
    }
    if (message.find("Excessive depth") != std::string::npos) {
        return "elements are nested deeper than 256 levels";
    }
    if (message.find("entity reference loop") != std::string::npos ||
        message.find("amplification") != std::string::npos) {
        return "entities expand too far (" + message + ")";
    }
    return "not well-formed XML: " + message;
}

}  // namespace

std::unique_ptr<Element> ParseSvgText(const std::string& text) {
    xmlSetExternalEntityLoader(RefuseExternal);
    std::unique_ptr<xmlParserCtxt, ContextFree> ctxt(xmlNewParserCtxt());
    if (!ctxt) {
        throw ImportError(0, "out of memory");
    }
    ParseState state;
    ctxt->_private = &state;
    ctxt->sax->startElementNs = StartElement;
    ctxt->sax->serror = KeepFirstError;
    const int options = XML_PARSE_NONET | XML_PARSE_NOWARNING | XML_PARSE_BIG_LINES;
    std::unique_ptr<xmlDoc, DocFree> doc(xmlCtxtReadMemory(
        ctxt.get(), text.data(), static_cast<int>(text.size()), nullptr, nullptr, options));
    if (!doc || state.failed) {
        const xmlError* error = xmlCtxtGetLastError(ctxt.get());
        if (!state.failed && error) {
            state.errorLine = error->line;
            state.errorMessage = error->message ? error->message : "";
        }
        throw ImportError(state.errorLine, ErrorMessage(state.errorMessage));
    }
    RejectExternalEntities(doc.get());
    xmlNode* root = xmlDocGetRootElement(doc.get());
    if (!root) {
        throw ImportError(1, "the document has no root element");
    }
    TreeBuilder builder(doc.get(), state);
    if (Text(root->name) != "svg" || !InSvgNamespace(root)) {
        throw ImportError(builder.LineOf(root),
                          "not an SVG file: the root element is <" + Text(root->name) + ">");
    }
    return builder.Build(root, nullptr, 1);
}

std::unique_ptr<Element> LoadSvgFile(const std::string& path) {
    FileDescriptor fd(open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
    if (fd.Get() < 0) {
        throw ImportError(0, std::string("cannot open the file: ") + std::strerror(errno));
    }
    struct stat info {};
    if (fstat(fd.Get(), &info) != 0 || !S_ISREG(info.st_mode)) {
        throw ImportError(0, "not a regular file");
    }
    if (static_cast<unsigned long long>(info.st_size) > kMaxSvgBytes) {
        throw ImportError(0, "the file is larger than 64 MiB");
    }
    std::string text;
    char buffer[65536];
    for (;;) {
        const ssize_t n = read(fd.Get(), buffer, sizeof buffer);
        if (n < 0) {
            throw ImportError(0, std::string("cannot read the file: ") + std::strerror(errno));
        }
        if (n == 0) {
            break;
        }
        text.append(buffer, static_cast<size_t>(n));
        if (text.size() > kMaxSvgBytes) {
            throw ImportError(0, "the file is larger than 64 MiB");
        }
    }
    return ParseSvgText(text);
}

}  // namespace Import
