// Who may change a folder whose programs every user runs. The machine's
// launcher folder is on the machine's PATH: a folder there that a standard
// user can write to lets that user put a program or a DLL in front of every
// administrator's shell and every service that searches PATH. So Velmora
// makes such a folder with a descriptor of its own, and judges one it finds
// before it writes a launcher into it or puts it on PATH.
//
// Both the descriptor and the judging take SDDL text, so that they are
// plain data here; the platform reads and writes the real descriptor.
#pragma once

#include <cstdint>

#include "base/wide_text.h"

// Owner Administrators; SYSTEM and Administrators full control, Users and
// Authenticated Users read and execute, on the folder and on everything
// made in it; nothing inherited from the folder above (protected).
extern const char16_t kLauncherFolderSddl[];

// What is wrong with a folder's descriptor, the first flaw found.
enum class FolderFlaw {
    kNone,
    kUnreadable,  // the descriptor could not be read or makes no sense
    kLink,        // the folder is a junction or a link to somewhere else
    kOwner,       // owned by someone other than Administrators or SYSTEM
    kNoDacl,      // no access list at all: everyone may do anything
    kGrants,      // someone else may change what is in it, or its rights
};

struct FolderVerdict {
    FolderFlaw flaw = FolderFlaw::kNone;
    CStringW who;              // the owner, or whom the access list lets in (a SID)
    std::uint32_t rights = 0;  // what `who` may do that only administrators may
    bool Safe() const noexcept { return flaw == FolderFlaw::kNone; }
};

// The access rights that only administrators may hold on such a folder:
// create files (write data), create folders (append data), delete what is
// in it, delete or rename it, change its rights, take ownership, and the
// generic rights that include any of them.
constexpr std::uint32_t kFolderChangeRights = 0x00000002u | 0x00000004u | 0x00000040u | 0x00010000u |
                                              0x00040000u | 0x00080000u | 0x10000000u | 0x40000000u;

// Judges the descriptor `sddl` (owner and DACL at least). Allowing ACEs that
// reach the folder or what is made in it count; denying ACEs are ignored, so
// that a doubtful descriptor fails rather than passes.
FolderVerdict JudgeFolderSddl(const CStringW& sddl);

// `sid` in SDDL ("BU", "S-1-5-32-545") as its account's usual English name
// ("Users"), or the SID string when it has none here.
CStringW SidDisplayName(const CStringW& sid);
