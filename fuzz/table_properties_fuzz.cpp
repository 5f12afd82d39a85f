// Feeds the custom controls' properties-list parser arbitrary lists: the first line is the
// keyword looked up, each further line an entry of the list.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "table/properties.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    std::vector<std::string> lines;
    size_t start = 0;
    for (;;) {
        const size_t nl = text.find('\n', start);
        lines.push_back(text.substr(start, nl == std::string::npos ? nl : nl - start));
        if (nl == std::string::npos) break;
        start = nl + 1;
    }
    std::vector<const char*> props;
    for (size_t i = 1; i < lines.size(); ++i) props.push_back(lines[i].c_str());
    const int32_t count = int32_t(props.size());
    const char* keyword = lines[0].c_str();
    if (auto value = props_find(count, props.data(), keyword))
        if (value->size() > props_value_max) __builtin_trap();
    props_flag(count, props.data(), keyword);
    props_pair(count, props.data(), keyword);
    return 0;
}
