#include "velmora/base64.h"
#include "velmora/linkdecode.h"

namespace {

// What sets one link scheme apart from another; the decoding is shared.
struct LinkScheme {
    int prefixLength;         // "thunder://" and the like, dropped unchecked
    const char* leadingSet;   // characters stripped from the decoded URL's left
    const char* trailingSet;  // and right end; null strips nothing
};

constexpr LinkScheme kThunder{10, "AA", "ZZ"};
constexpr LinkScheme kFlashget{11, "[FLASHGET]", "[FLASHGET]"};
constexpr LinkScheme kQQDownload{7, nullptr, nullptr};

// Links shorter than this, once trimmed, are not decoded.
constexpr int kMinLinkLength = 20;

int DecodeWrappedLink(CString link, CString& out, const LinkScheme& scheme) {
    link.TrimRight();
    link.TrimLeft();
    link.TrimLeft("\r\n");
    link.TrimRight("/\\\r\n");
    if (link.GetLength() < kMinLinkLength) return 0;

    const CString payload = link.Mid(scheme.prefixLength);
    // Base64 gives at most 3 bytes per 4 characters, so one byte per
    // character is always room enough.
    CString buffer;
    auto* bytes = reinterpret_cast<unsigned char*>(buffer.GetBuffer(payload.GetLength()));
    const int decodedLength = base64_decode(payload.GetString(), bytes);
    // Malformed Base64 (-1) is refused by the string itself, which throws
    // its invalid-argument error to the caller.
    CString url(reinterpret_cast<const char*>(bytes), decodedLength);
    if (url.IsEmpty()) return 0;

    if (scheme.leadingSet != nullptr) url.TrimLeft(scheme.leadingSet);
    if (scheme.trailingSet != nullptr) url.TrimRight(scheme.trailingSet);
    out = url;
    return 1;
}

}  // namespace

int ThunderURLDecode(CString link, CString& out) { return DecodeWrappedLink(link, out, kThunder); }

int FlashgetURLDecode(CString link, CString& out) { return DecodeWrappedLink(link, out, kFlashget); }

int QQDLURLDecode(CString link, CString& out) { return DecodeWrappedLink(link, out, kQQDownload); }
