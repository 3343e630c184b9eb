#include "activity/xml/element_walk.h"

// Debian's expat is built with DTD support; the macro declares the setters
// of its limits on entity expansion.
#define XML_DTD
#include <expat.h>
#include <iconv.h>

#include <algorithm>
#include <cerrno>
#include <memory>
#include <new>
#include <string>
#include <vector>

namespace kolvio::activity::xml {

namespace {

// Separates a namespace from the local name in the names expat reports; no
// byte of UTF-8 is 0xFF, so no namespace can contain it.
constexpr char kNamespaceEnd = '\xFF';

// A value is a number or a time; a longer text is neither, and keeping it
// would let a hostile document fill memory.
constexpr size_t kMaxValueBytes = size_t{64} << 10;

// The characters of a one-byte code page (windows-1250, ISO-8859-2,
// CP852...) through iconv, for expat, which knows only UTF-8, UTF-16,
// ISO-8859-1 and ASCII itself. Of a code page with several bytes a
// character only the one-byte characters are read: a byte that begins a
// longer one is damage, but a document in ASCII alone is whole.
int XMLCALL CodePage(void*, const XML_Char* name, XML_Encoding* info) {
    const iconv_t to32 = iconv_open("UTF-32LE", name);
    if (to32 == reinterpret_cast<iconv_t>(-1)) return XML_STATUS_ERROR;
    for (int byte = 0; byte < 256; ++byte) {
        char in = static_cast<char>(byte);
        unsigned char out[4] = {};
        char* inPtr = &in;
        char* outPtr = reinterpret_cast<char*>(out);
        size_t inLeft = 1, outLeft = sizeof out;
        iconv(to32, nullptr, nullptr, nullptr, nullptr);
        if (iconv(to32, &inPtr, &inLeft, &outPtr, &outLeft) != static_cast<size_t>(-1)) {
            info->map[byte] = out[0] | out[1] << 8 | out[2] << 16 | out[3] << 24;
        } else {
            // EINVAL: the byte begins a longer character; EILSEQ: a byte
            // the code page leaves out reads as the replacement character
            info->map[byte] = errno == EINVAL ? -1 : 0xFFFD;
        }
    }
    iconv_close(to32);
    info->data = nullptr;
    info->convert = nullptr;
    info->release = nullptr;
    return XML_STATUS_OK;
}

class Walk {
public:
    Walk(XML_Parser parser, ElementReader& reader, std::string_view bytes)
        : parser_(parser), reader_(reader) {
        // Text that runs into the end of a document with no markup after it
        // is cut short, so it is no value: "<ele>30" without "<" ends with
        // no elevation at all.
        const size_t lastMarkup = bytes.find_last_of("<>");
        if (lastMarkup != bytes.npos && bytes[lastMarkup] == '>') tailStart_ = lastMarkup + 1;
        XML_SetUserData(parser, this);
        XML_SetElementHandler(parser, &Walk::Start, &Walk::End);
        XML_SetCharacterDataHandler(parser, &Walk::Text);
        XML_SetUnknownEncodingHandler(parser, &CodePage, nullptr);
    }

    // The document broke off or went wrong: the open elements end where
    // they are, so that a reader keeps what came before the damage.
    void closeAll() {
        text_.resize(std::min(text_.size(), cutFrom_));
        while (!open_.empty())
            end();
    }

private:
    static void XMLCALL Start(void* self, const XML_Char* name, const XML_Char** attributes) {
        static_cast<Walk*>(self)->start(name, attributes);
    }
    static void XMLCALL End(void* self, const XML_Char*) { static_cast<Walk*>(self)->end(); }
    static void XMLCALL Text(void* self, const XML_Char* text, int length) {
        static_cast<Walk*>(self)->text(std::string_view(text, static_cast<size_t>(length)));
    }

    void start(std::string_view name, const char** attributes) {
        if (skipped_ > 0 || readingText_) {  // a value's children are skipped
            ++skipped_;
            return;
        }
        Element element;
        const size_t split = name.find(kNamespaceEnd);
        element.name = split == name.npos ? name : name.substr(split + 1);
        if (split != name.npos) element.ns = name.substr(0, split);
        element.attributes = attributes;
        const State state = reader_.enter(open_.empty() ? kDocument : open_.back(), element);
        if (state == kSkip) {
            ++skipped_;
        } else {
            open_.push_back(state);
            readingText_ = reader_.readsText(state);
            text_.clear();
            cutFrom_ = text_.npos;
        }
        stopIfDone();
    }

    void end() {
        if (skipped_ > 0) {
            --skipped_;
            return;
        }
        const State state = open_.back();
        open_.pop_back();
        const bool hadText = readingText_;
        readingText_ = false;
        reader_.leave(state, hadText && text_.size() <= kMaxValueBytes ? text_ : "");
        stopIfDone();
    }

    void text(std::string_view text) {
        if (!readingText_ || skipped_ > 0) return;
        if (static_cast<size_t>(XML_GetCurrentByteIndex(parser_)) >= tailStart_) {
            cutFrom_ = std::min(cutFrom_, text_.size());
        }
        if (text_.size() <= kMaxValueBytes) text_.append(text.substr(0, kMaxValueBytes + 1));
    }

    void stopIfDone() {
        if (reader_.stopped()) XML_StopParser(parser_, XML_FALSE);
    }

    XML_Parser parser_;
    ElementReader& reader_;
    std::vector<State> open_;
    size_t skipped_ = 0;  // depth inside an element not read
    bool readingText_ = false;
    std::string text_;
    size_t tailStart_ = std::string_view::npos;  // where the text after the last markup begins
    size_t cutFrom_ = std::string_view::npos;    // of text_, where that text begins
};

struct ParserFree {
    void operator()(XML_Parser parser) const { XML_ParserFree(parser); }
};

}  // namespace

std::optional<std::string_view> Element::attribute(std::string_view local) const {
    for (const char** a = attributes; a && *a; a += 2) {
        if (local == a[0]) return a[1];  // prefixed names carry their namespace
    }
    return std::nullopt;
}

WalkEnd WalkElements(std::string_view bytes, ElementReader& reader) {
    const std::unique_ptr<XML_ParserStruct, ParserFree> parser(
        XML_ParserCreateNS(nullptr, kNamespaceEnd));
    if (!parser) throw std::bad_alloc();
    // Expat refuses entities that expand a hundredfold; it starts counting
    // at 1 MiB of expanded text (8 MiB by default): no ride file has any.
    XML_SetBillionLaughsAttackProtectionActivationThreshold(parser.get(), 1 << 20);
    Walk walk(parser.get(), reader, bytes);
    constexpr size_t kChunk = size_t{1} << 30;  // expat takes an int length
    XML_Status status = XML_STATUS_OK;
    do {
        const size_t length = std::min(bytes.size(), kChunk);
        status =
            XML_Parse(parser.get(), bytes.data(), static_cast<int>(length), length == bytes.size());
        bytes.remove_prefix(length);
    } while (status == XML_STATUS_OK && !bytes.empty());
    if (status == XML_STATUS_OK || XML_GetErrorCode(parser.get()) == XML_ERROR_ABORTED) return {};
    walk.closeAll();
    return {true, static_cast<long long>(XML_GetCurrentLineNumber(parser.get()))};
}

}  // namespace kolvio::activity::xml
