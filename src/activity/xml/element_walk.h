// A document's elements, handed one by one to a format's reader: expat
// parses, the reader keeps the state of each open element and says which
// elements it reads and which it skips with all they hold.
#pragma once

#include <optional>
#include <string_view>

namespace kolvio::activity::xml {

// An element's start tag, its namespace resolved.
struct Element {
    std::string_view ns;  // empty when the element has none
    std::string_view name;
    const char** attributes = nullptr;  // expat's name, value, ..., nullptr

    bool is(std::string_view n, std::string_view local) const { return ns == n && name == local; }
    // An attribute written without a prefix, as TCX and GPX write theirs.
    std::optional<std::string_view> attribute(std::string_view local) const;
};

// What an open element is to a reader; each reader numbers its own.
using State = int;
inline constexpr State kSkip = 0;      // not read, nor anything inside it
inline constexpr State kDocument = 1;  // the parent of the root element

class ElementReader {
public:
    virtual ~ElementReader() = default;
    // The state of `element` within an element in state `parent`.
    virtual State enter(State parent, const Element& element) = 0;
    // Whether an element in `state` is a value whose text leave() needs.
    virtual bool readsText(State /*state*/) const { return false; }
    // The element in `state` ended, or the document broke off inside it:
    // the reader keeps what it has, as it would at a proper end. `text` is
    // the element's own text (not its children's) when readsText().
    virtual void leave(State state, std::string_view text) = 0;
    // True once the reader wants nothing more (it is full, or the document
    // is none of its business).
    virtual bool stopped() const { return false; }
};

struct WalkEnd {
    bool broken = false;  // not well-formed XML, or the document breaks off
    long long line = 0;   // where the damage was found
};

// Parses `bytes` (UTF-8, UTF-16, or a one-byte code page its declaration
// names) and walks its elements until the end, an error or the reader
// stops. External entities and DTDs are never loaded; expat refuses entity
// expansion that grows without bound.
WalkEnd WalkElements(std::string_view bytes, ElementReader& reader);

}  // namespace kolvio::activity::xml
