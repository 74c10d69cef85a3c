// Fuzz target of the icon services' file parsing: the resource walk of an
// executable image (every lookup the extraction makes), the header probe, and
// %NAME% expansion of a path.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

#include "icons/file_kind.h"
#include "icons/path_variables.h"
#include "icons/pe_resources.h"

namespace {

using velmora::Bytes;

// Reads the first and last byte of a span, so a span that reaches outside
// the input shows up under the address sanitizer.
unsigned Touch(Bytes bytes) { return bytes.empty() ? 0 : bytes.front() + bytes.back(); }

void WalkResources(Bytes image) {
    const auto directory = velmora::FindResourceDirectory(image);
    if (!directory) return;
    const std::uint32_t groups = velmora::CountResourceEntries(*directory, velmora::kResourceTypeGroupIcon);
    std::uint32_t iconCount = 0;
    if (const std::uint8_t* first =
            velmora::FindResourceType(*directory, velmora::kResourceTypeIcon, iconCount)) {
        (void)first;
    }
    // The groups the extraction would ask for: the first few by position,
    // the last one, and a few by identifier (negative).
    const std::int64_t choices[] = {0,  1,    2,     static_cast<std::int64_t>(groups) - 1, groups, -1,
                                    -2, -100, -32512};
    volatile unsigned sink = 0;
    for (std::int64_t which : choices) {
        const Bytes group = velmora::FindResourceData(*directory, which, velmora::kResourceTypeGroupIcon);
        sink = sink + Touch(group);
        if (!velmora::IsIconGroup(group)) continue;
        for (int size : {16, 32, 48, 256}) {
            const std::uint16_t id = velmora::PickIconImageId(group, size, size, 32);
            const Bytes image_ = velmora::FindResourceData(*directory, -static_cast<std::int64_t>(id),
                                                           velmora::kResourceTypeIcon);
            sink = sink + Touch(image_) + velmora::IsDibIconImage(image_);
        }
    }
}

void ExpandAsPath(const std::uint8_t* data, std::size_t size) {
    char path[velmora::kPathBufferSize];
    const std::size_t length = size < sizeof path - 1 ? size : sizeof path - 1;
    std::memcpy(path, data, length);
    path[length] = '\0';
    velmora::ClassifyFileExtension(path);
    // Values of every length up to past the buffer, chosen by the name.
    velmora::ExpandPathVariables(path, [](const std::string& name, std::string& value) {
        if (name.empty() || name[0] == 'X') return false;
        value.assign((name.size() * 37) % 300, 'v');
        return true;
    });
    if (std::memchr(path, '\0', sizeof path) == nullptr) __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const Bytes input(data, size);
    velmora::ProbeFileContent(input.first(size < velmora::kFileProbeSize ? size : velmora::kFileProbeSize));
    WalkResources(input);
    if (size < 512) ExpandAsPath(data, size);
    return 0;
}
