#include "app/TextFileImport.h"

#include "store/TextCodec.h"

namespace {

std::wstring BytesAsCharacters(const std::string& bytes) {
    std::wstring text;
    text.reserve(bytes.size());
    for (unsigned char byte : bytes) text.push_back(static_cast<wchar_t>(byte));
    return text;
}

// Multi-line edit controls break lines at CR LF only; a lone CR or LF would
// show as a box and mix line ends in what is exported.
std::wstring WithCrLf(const std::wstring& text) {
    std::wstring out;
    out.reserve(text.size() + text.size() / 16);
    for (size_t i = 0; i < text.size(); ++i) {
        const wchar_t c = text[i];
        if (c == L'\r' || c == L'\n') {
            out += L"\r\n";
            if (c == L'\r' && i + 1 < text.size() && text[i + 1] == L'\n') ++i;
        } else {
            out.push_back(c);
        }
    }
    return out;
}

}  // namespace

NoteFileVerdict CheckNoteFile(const std::string& bytes, uint64_t fileSize) {
    if (fileSize > kMaxNoteFileBytes || bytes.size() > kMaxNoteFileBytes) {
        return NoteFileVerdict::TooLarge;
    }
    if (!TextCodec::LooksLikeText(TextFileAsNoteText(bytes))) return NoteFileVerdict::NotText;
    return NoteFileVerdict::Ok;
}

std::wstring TextFileAsNoteText(const std::string& bytes) {
    TextCodec::Encoding encoding = TextCodec::Encoding::Ansi;
    std::wstring text = TextCodec::Decode(bytes, &encoding);
    // The system's code page would turn unknown bytes into question marks on
    // some systems; one character per byte keeps every byte recoverable.
    if (encoding == TextCodec::Encoding::Ansi) text = BytesAsCharacters(bytes);
    return WithCrLf(text);
}
