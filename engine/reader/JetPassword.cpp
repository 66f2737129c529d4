#include "engine/reader/JetPassword.h"

#include "engine/reader/TextDecoding.h"

#include <string>

namespace quarix::engine {

Secret jetPassword(const FileHeader& header) {
    if (header.format == FileFormat::Ace || header.storedPassword.empty())
        return {};
    // Room for the longest decoding, so the text is never moved and left
    // behind in freed memory.
    std::string text;
    text.reserve(16 * header.storedPassword.size());
    if (header.format == FileFormat::Jet3)
        appendUtf8FromCodePage(header.storedPassword.text(), header.codePage, text);
    else
        appendUtf8FromAccessText(header.storedPassword.text(), text);
    Secret password(std::string_view(text).substr(0, text.find('\0')));
    wipeBytes(text.data(), text.size());
    return password;
}

} // namespace quarix::engine
