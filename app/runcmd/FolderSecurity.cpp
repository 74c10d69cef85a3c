#include "app/runcmd/FolderSecurity.h"

#include <array>
#include <string_view>

extern const char16_t kLauncherFolderSddl[] =
    u"O:BAD:P(A;OICI;FA;;;SY)(A;OICI;FA;;;BA)(A;OICI;0x1200a9;;;BU)(A;OICI;0x1200a9;;;AU)";

namespace {

using Text = std::u16string_view;

struct SidAlias {
    Text alias;
    Text sid;
    Text name;
};

// The aliases SDDL uses for the SIDs a folder's descriptor names, with the
// accounts' English names.
constexpr std::array<SidAlias, 20> kSidAliases{{
    {u"SY", u"S-1-5-18", u"SYSTEM"},
    {u"BA", u"S-1-5-32-544", u"Administrators"},
    {u"BU", u"S-1-5-32-545", u"Users"},
    {u"BG", u"S-1-5-32-546", u"Guests"},
    {u"PU", u"S-1-5-32-547", u"Power Users"},
    {u"AO", u"S-1-5-32-548", u"Account Operators"},
    {u"SO", u"S-1-5-32-549", u"Server Operators"},
    {u"BO", u"S-1-5-32-551", u"Backup Operators"},
    {u"RD", u"S-1-5-32-555", u"Remote Desktop Users"},
    {u"AU", u"S-1-5-11", u"Authenticated Users"},
    {u"WD", u"S-1-1-0", u"Everyone"},
    {u"AN", u"S-1-5-7", u"ANONYMOUS LOGON"},
    {u"IU", u"S-1-5-4", u"INTERACTIVE"},
    {u"NU", u"S-1-5-2", u"NETWORK"},
    {u"SU", u"S-1-5-6", u"SERVICE"},
    {u"LS", u"S-1-5-19", u"LOCAL SERVICE"},
    {u"NS", u"S-1-5-20", u"NETWORK SERVICE"},
    {u"CO", u"S-1-3-0", u"CREATOR OWNER"},
    {u"CG", u"S-1-3-1", u"CREATOR GROUP"},
    {u"OW", u"S-1-3-4", u"OWNER RIGHTS"},
}};

constexpr Text kTrustedInstaller = u"S-1-5-80-956008885-3418522649-1831038044-1853292631-2271478464";

// "BA" or "s-1-5-32-544" as "S-1-5-32-544".
CStringW CanonicalSid(Text sid) {
    for (const SidAlias& alias : kSidAliases) {
        if (sid == alias.alias) return CStringW(alias.sid);
    }
    CStringW canonical(sid);
    if (canonical.size() > 1 && (canonical[0] == u's')) canonical[0] = u'S';
    return canonical;
}

bool IsOwnerTrusted(const CStringW& sid) { return sid == u"S-1-5-18" || sid == u"S-1-5-32-544"; }

// Whom such a folder's access list may let change it: SYSTEM,
// Administrators, the installer service, and the creator-owner and
// owner-rights entries, which stand for the owner (itself checked) or for
// whoever made a file there (who had to be let in by another entry).
bool IsTrusteeTrusted(const CStringW& sid) {
    return IsOwnerTrusted(sid) || sid == kTrustedInstaller || sid == u"S-1-3-0" || sid == u"S-1-3-4";
}

struct RightCode {
    Text code;
    std::uint32_t mask;
};

// The two-letter access rights of SDDL.
constexpr std::array<RightCode, 28> kRightCodes{{
    {u"GA", 0x10000000u}, {u"GR", 0x80000000u}, {u"GW", 0x40000000u}, {u"GX", 0x20000000u},
    {u"RC", 0x00020000u}, {u"SD", 0x00010000u}, {u"WD", 0x00040000u}, {u"WO", 0x00080000u},
    {u"RP", 0x00000010u}, {u"WP", 0x00000020u}, {u"CC", 0x00000001u}, {u"DC", 0x00000002u},
    {u"LC", 0x00000004u}, {u"SW", 0x00000008u}, {u"LO", 0x00000080u}, {u"DT", 0x00000040u},
    {u"CR", 0x00000100u}, {u"FA", 0x001f01ffu}, {u"FR", 0x00120089u}, {u"FW", 0x00120116u},
    {u"FX", 0x001200a0u}, {u"KA", 0x000f003fu}, {u"KR", 0x00020019u}, {u"KW", 0x00020006u},
    {u"KX", 0x00020019u}, {u"NR", 0x00000001u}, {u"NW", 0x00000002u}, {u"NX", 0x00000004u},
}};

// The rights field of an ACE: hexadecimal ("0x1200a9") or two-letter
// codes; false when it is neither.
bool ParseRights(Text text, std::uint32_t* pMask) {
    *pMask = 0;
    if (text.size() > 2 && text[0] == u'0' && (text[1] == u'x' || text[1] == u'X')) {
        if (text.size() > 10) return false;
        for (const char16_t ch : text.substr(2)) {
            const int digit = ch >= u'0' && ch <= u'9'   ? ch - u'0'
                              : ch >= u'a' && ch <= u'f' ? ch - u'a' + 10
                              : ch >= u'A' && ch <= u'F' ? ch - u'A' + 10
                                                         : -1;
            if (digit < 0) return false;
            *pMask = (*pMask << 4) | static_cast<std::uint32_t>(digit);
        }
        return true;
    }
    if (text.size() % 2 != 0) return false;
    for (std::size_t at = 0; at < text.size(); at += 2) {
        const Text code = text.substr(at, 2);
        bool known = false;
        for (const RightCode& right : kRightCodes) {
            if (right.code == code) {
                *pMask |= right.mask;
                known = true;
                break;
            }
        }
        if (!known) return false;
    }
    return true;
}

// Whether an ACE's flags ("OICIIO") make it reach the folder itself or what
// is made in it: all do except an inherit-only entry that nothing inherits.
bool Reaches(Text flags) {
    const bool inheritOnly = flags.find(u"IO") != Text::npos;
    const bool inherited = flags.find(u"OI") != Text::npos || flags.find(u"CI") != Text::npos;
    return !inheritOnly || inherited;
}

// Whether an ACE type ("A", "OA", "XA", "ZA") lets someone in.
bool Allows(Text type) { return type == u"A" || type == u"OA" || type == u"XA" || type == u"ZA"; }

// Where a section ("O:", "G:", "D:", "S:") of `sddl` starts at `at`: a
// section letter and a colon outside any ACE (no SID or alias has a colon).
bool SectionStartsAt(Text sddl, std::size_t at) {
    if (at + 1 >= sddl.size() || sddl[at + 1] != u':') return false;
    const char16_t letter = sddl[at];
    return letter == u'O' || letter == u'G' || letter == u'D' || letter == u'S';
}

// Whether every parenthesis of `sddl` is closed, and none too many.
bool Balanced(Text sddl) {
    int depth = 0;
    for (const char16_t ch : sddl) {
        if (ch == u'(') ++depth;
        if (ch == u')' && --depth < 0) return false;
    }
    return depth == 0;
}

// The text of the section `letter` of `sddl` (balanced), without its tag,
// up to the next section; false when there is none.
bool FindSection(Text sddl, char16_t letter, Text* pSection) {
    int depth = 0;
    std::size_t begin = Text::npos;
    for (std::size_t i = 0; i < sddl.size(); ++i) {
        if (sddl[i] == u'(') ++depth;
        if (sddl[i] == u')') --depth;
        if (depth != 0 || !SectionStartsAt(sddl, i)) continue;
        if (begin != Text::npos) {
            *pSection = sddl.substr(begin, i - begin);
            return true;
        }
        if (sddl[i] == letter) begin = i + 2;
        ++i;
    }
    if (begin == Text::npos) return false;
    *pSection = sddl.substr(begin);
    return true;
}

// The fields of one ACE's text, without its parentheses: type, flags,
// rights, object, inherited object, trustee (and a resource field).
bool SplitAce(Text ace, std::array<Text, 6>* pFields) {
    std::size_t field = 0;
    std::size_t begin = 0;
    for (std::size_t i = 0; i <= ace.size() && field < pFields->size(); ++i) {
        if (i == ace.size() || ace[i] == u';') {
            (*pFields)[field++] = ace.substr(begin, i - begin);
            begin = i + 1;
        }
    }
    return field == pFields->size();
}

FolderVerdict Flaw(FolderFlaw flaw, const CStringW& who = CStringW(), std::uint32_t rights = 0) {
    return {flaw, who, rights};
}

}  // namespace

FolderVerdict JudgeFolderSddl(const CStringW& sddl) {
    const Text text(sddl);
    Text owner;
    if (!Balanced(text)) return Flaw(FolderFlaw::kUnreadable);
    if (!FindSection(text, u'O', &owner) || owner.empty()) return Flaw(FolderFlaw::kUnreadable);
    const CStringW ownerSid = CanonicalSid(owner);
    if (!IsOwnerTrusted(ownerSid)) return Flaw(FolderFlaw::kOwner, ownerSid);
    Text dacl;
    if (!FindSection(text, u'D', &dacl)) return Flaw(FolderFlaw::kNoDacl);
    // The flags before the first ACE: "P", "AI", "AR", or no list at all.
    const std::size_t firstAce = dacl.find(u'(');
    const Text flags = dacl.substr(0, firstAce);
    if (flags.find(u"NO_ACCESS_CONTROL") != Text::npos) return Flaw(FolderFlaw::kNoDacl);
    if (firstAce == Text::npos) return Flaw(FolderFlaw::kNone);
    for (std::size_t at = firstAce; at < dacl.size();) {
        const std::size_t close = dacl.find(u')', at);
        if (dacl[at] != u'(' || close == Text::npos) return Flaw(FolderFlaw::kUnreadable);
        std::array<Text, 6> fields;
        std::uint32_t rights = 0;
        if (!SplitAce(dacl.substr(at + 1, close - at - 1), &fields) || !ParseRights(fields[2], &rights))
            return Flaw(FolderFlaw::kUnreadable);
        at = close + 1;
        if (!Allows(fields[0]) || !Reaches(fields[1])) continue;
        const CStringW trustee = CanonicalSid(fields[5]);
        if ((rights & kFolderChangeRights) != 0 && !IsTrusteeTrusted(trustee))
            return Flaw(FolderFlaw::kGrants, trustee, rights & kFolderChangeRights);
    }
    return Flaw(FolderFlaw::kNone);
}

CStringW SidDisplayName(const CStringW& sid) {
    const CStringW canonical = CanonicalSid(sid);
    for (const SidAlias& alias : kSidAliases) {
        if (canonical == alias.sid) return CStringW(alias.name);
    }
    if (canonical == kTrustedInstaller) return u"TrustedInstaller";
    return canonical;
}
