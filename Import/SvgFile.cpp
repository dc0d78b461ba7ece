#include "Import/SvgFile.h"

#include <fcntl.h>
#include <libxml/parser.h>
#include <libxml/tree.h>
#include <libxml/xmlerror.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>

#include "Import/Diagnostics.h"

namespace Import {

namespace {

const char kSvgNamespace[] = "http://www.w3.org/2000/svg";
const char kXlinkNamespace[] = "http://www.w3.org/1999/xlink";
const char kXmlNamespace[] = "http://www.w3.org/XML/1998/namespace";

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
    return {};
}

class TreeBuilder {
  public:
    explicit TreeBuilder(xmlDoc* doc) : m_Doc(doc) {}

    std::unique_ptr<Element> Build(xmlNode* node, Element* parent, int depth) {
        if (depth > kMaxDepth) {
            throw ImportError(static_cast<int>(xmlGetLineNo(node)),
                              "elements are nested deeper than 256 levels");
        }
        auto element = std::make_unique<Element>();
        element->name = Text(node->name);
        element->line = static_cast<int>(xmlGetLineNo(node));
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
    size_t m_TextBytes = 0;
};

std::string ErrorMessage(const xmlError* error) {
    std::string message = error && error->message ? error->message : "not well-formed XML";
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
    const int options =
        XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING | XML_PARSE_BIG_LINES;
    std::unique_ptr<xmlDoc, DocFree> doc(xmlCtxtReadMemory(
        ctxt.get(), text.data(), static_cast<int>(text.size()), nullptr, nullptr, options));
    if (!doc) {
        const xmlError* error = xmlCtxtGetLastError(ctxt.get());
        throw ImportError(error ? error->line : 0, ErrorMessage(error));
    }
    RejectExternalEntities(doc.get());
    xmlNode* root = xmlDocGetRootElement(doc.get());
    if (!root) {
        throw ImportError(1, "the document has no root element");
    }
    if (Text(root->name) != "svg" || !InSvgNamespace(root)) {
        throw ImportError(static_cast<int>(xmlGetLineNo(root)),
                          "not an SVG file: the root element is <" + Text(root->name) + ">");
    }
    return TreeBuilder(doc.get()).Build(root, nullptr, 1);
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
