#include "app/TextFileImport.h"

#include "store/TextCodec.h"

namespace {

std::wstring BytesAsCharacters(const std::string& bytes) {
    std::wstring text;
    text.reserve(bytes.size());
    for (unsigned char byte : bytes) text.push_back(static_cast<wchar_t>(byte));
    return text;
}

std::wstring CrLfToLf(const std::wstring& text) {
    std::wstring out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == L'\r' && i + 1 < text.size() && text[i + 1] == L'\n') continue;
        out.push_back(text[i]);
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
    return CrLfToLf(text);
}
