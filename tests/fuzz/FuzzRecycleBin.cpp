// Any bytes must list without a fault; the entries lie in order inside the file,
// each holds visible text, and cutting one out leaves a file that lists again.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "store/RecycleBin.h"
#include "store/RecycleBinEntries.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    const auto entries = RecycleBin::ParseBinEntries(bytes);
    size_t at = 0;
    for (const auto& e : entries) {
        if (e.begin < at || e.end < e.begin || e.end > size) abort();
        if (!RecycleBin::HasVisibleText(e.text)) abort();
        if (e.cutShort && e.end != size) abort();
        // A text never holds more code units than its bytes could encode.
        if (e.text.size() > e.end - e.begin) abort();
        at = e.end;
    }
    if (!entries.empty()) {
        std::string rest = bytes;
        rest.erase(entries.front().begin, entries.front().end - entries.front().begin);
        if (RecycleBin::ParseBinEntries(rest).size() > size) abort();
    }
    return 0;
}
