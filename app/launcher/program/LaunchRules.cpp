#include "app/launcher/program/LaunchRules.h"

namespace velmora::launcher {
namespace {

bool IsBlank(char16_t c) { return c == u' ' || c == u'\t'; }
bool IsSeparator(char16_t c) { return c == u'\\' || c == u'/'; }

// Letter case folded for ASCII and Latin-1, which is what folder names of
// the machine's launcher hold in practice.
char16_t FoldCase(char16_t c) {
    if (c >= u'A' && c <= u'Z') return static_cast<char16_t>(c + 32);
    if (c >= 0xC0 && c <= 0xDE && c != 0xD7) return static_cast<char16_t>(c + 32);
    return IsSeparator(c) ? u'\\' : c;
}

bool SameFolded(const char16_t* a, const char16_t* b, size_t length) {
    for (size_t i = 0; i < length; ++i)
        if (FoldCase(a[i]) != FoldCase(b[i])) return false;
    return true;
}

size_t WithoutTrailingSeparators(const char16_t* text, size_t length) {
    while (length > 0 && IsSeparator(text[length - 1])) --length;
    return length;
}

// Collects pieces of a result; writes them only when the whole result fits,
// and counts what it needs either way.
class Output {
public:
    Output(char16_t* out, size_t capacity) : m_out(out), m_capacity(capacity) {}

    void Add(const char16_t* text, size_t length) {
        if (m_count == kMaxPieces) return;  // never: no result has more pieces
        m_pieces[m_count].text = text;
        m_pieces[m_count].length = length;
        ++m_count;
        m_needed += length;
    }
    void Add(const char16_t* text) { Add(text, TextLength(text)); }

    // Writes the pieces and a NUL when they fit; the units needed.
    size_t Finish() {
        const size_t needed = m_needed + 1;
        if (m_out == nullptr || needed > m_capacity) return needed;
        size_t at = 0;
        for (size_t p = 0; p < m_count; ++p)
            for (size_t i = 0; i < m_pieces[p].length; ++i) m_out[at++] = m_pieces[p].text[i];
        m_out[at] = 0;
        return needed;
    }

private:
    struct Piece {
        const char16_t* text;
        size_t length;
    };
    static constexpr size_t kMaxPieces = 8;
    char16_t* m_out;
    size_t m_capacity;
    Piece m_pieces[kMaxPieces];
    size_t m_count = 0;
    size_t m_needed = 0;
};

}  // namespace

size_t TextLength(const char16_t* text) {
    size_t length = 0;
    if (text != nullptr)
        while (text[length] != 0) ++length;
    return length;
}

size_t CommandTailOffset(const char16_t* commandLine, size_t length) {
    size_t at = 0;
    if (length > 0 && commandLine[0] == u'"') {
        at = 1;
        while (at < length && commandLine[at] != u'"') ++at;
        // Past the closing quote; an unterminated name takes the whole line.
        return at < length ? at + 1 : length;
    }
    while (at < length && !IsBlank(commandLine[at])) ++at;
    return at;
}

size_t BuildChildCommandLine(const char16_t* program, size_t programLength, const char16_t* tail,
                             size_t tailLength, char16_t* out, size_t capacity) {
    Output result(out, capacity);
    result.Add(u"\"", 1);
    result.Add(program, programLength);
    result.Add(u"\"", 1);
    if (tailLength > 0 && !IsBlank(tail[0])) result.Add(u" ", 1);
    result.Add(tail, tailLength);
    return result.Finish();
}

TextPiece ProgramPathOfValue(const char16_t* value, size_t length) {
    for (size_t i = 0; i < length; ++i)
        if (value[i] == 0) {
            length = i;
            break;
        }
    size_t begin = 0;
    size_t end = length;
    while (begin < end && IsBlank(value[begin])) ++begin;
    while (end > begin && IsBlank(value[end - 1])) --end;
    if (end - begin >= 2 && value[begin] == u'"' && value[end - 1] == u'"') {
        ++begin;
        --end;
    }
    return {begin, end - begin};
}

bool IsFullyQualifiedPath(const char16_t* path, size_t length) {
    if (length >= 3 && ((path[0] >= u'A' && path[0] <= u'Z') || (path[0] >= u'a' && path[0] <= u'z')) &&
        path[1] == u':' && IsSeparator(path[2]))
        return true;
    // \\server\share\... and \\?\C:\...: two separators and something after.
    return length >= 3 && IsSeparator(path[0]) && IsSeparator(path[1]) && !IsSeparator(path[2]);
}

size_t MergePathInFront(const char16_t* extra, size_t extraLength, const char16_t* current,
                        size_t currentLength, char16_t* out, size_t capacity) {
    while (extraLength > 0 && extra[extraLength - 1] == u';') --extraLength;
    // The shell that started a run command has put it there already.
    if (extraLength > 0 && currentLength >= extraLength && SameFolded(current, extra, extraLength) &&
        (currentLength == extraLength || current[extraLength] == u';'))
        extraLength = 0;
    Output result(out, capacity);
    result.Add(extra, extraLength);
    if (extraLength > 0 && currentLength > 0) result.Add(u";", 1);
    result.Add(current, currentLength);
    return result.Finish();
}

TextPiece CommandNameOfModule(const char16_t* modulePath, size_t length) {
    size_t begin = length;
    while (begin > 0 && !IsSeparator(modulePath[begin - 1]) && modulePath[begin - 1] != u':') --begin;
    size_t end = length;
    static constexpr char16_t kExe[] = u".exe";
    if (end - begin >= 4 && SameFolded(modulePath + end - 4, kExe, 4)) end -= 4;
    return {begin, end - begin};
}

TextPiece FolderOfModule(const char16_t* modulePath, size_t length) {
    size_t end = length;
    while (end > 0 && !IsSeparator(modulePath[end - 1])) --end;
    // C:\ed.exe lives in C:\, whose backslash stays.
    if (end > 0 && !(end >= 2 && modulePath[end - 2] == u':')) --end;
    return {0, end};
}

bool IsOptionsLauncherFolder(const char16_t* folder, size_t folderLength) {
    folderLength = WithoutTrailingSeparators(folder, folderLength);
    constexpr size_t kOptionsLength = sizeof kOptionsFolderName / sizeof kOptionsFolderName[0] - 1;
    return folderLength > kOptionsLength + 1 &&
           SameFolded(folder + folderLength - kOptionsLength, kOptionsFolderName, kOptionsLength) &&
           IsSeparator(folder[folderLength - kOptionsLength - 1]);
}

bool IsMachineLauncherFolder(const char16_t* folder, size_t folderLength, const char16_t* programData,
                             size_t programDataLength) {
    programDataLength = WithoutTrailingSeparators(programData, programDataLength);
    if (programDataLength == 0) return false;
    folderLength = WithoutTrailingSeparators(folder, folderLength);
    constexpr size_t kOptionsLength = sizeof kOptionsFolderName / sizeof kOptionsFolderName[0] - 1;
    if (IsOptionsLauncherFolder(folder, folderLength)) folderLength -= kOptionsLength + 1;
    constexpr size_t kTailLength = sizeof kLauncherFolderTail / sizeof kLauncherFolderTail[0] - 1;
    if (folderLength != programDataLength + 1 + kTailLength) return false;
    return SameFolded(folder, programData, programDataLength) && IsSeparator(folder[programDataLength]) &&
           SameFolded(folder + programDataLength + 1, kLauncherFolderTail, kTailLength);
}

size_t AppPathsKeyOfCommand(const char16_t* name, size_t nameLength, char16_t* out, size_t capacity) {
    Output result(out, capacity);
    result.Add(kLauncherAppPathsKey);
    result.Add(u"\\", 1);
    result.Add(name, nameLength);
    result.Add(u".exe", 4);
    return result.Finish();
}

namespace {

// The value of variable `name` in an environment block; null when unset.
const char16_t* FindVariable(const char16_t* environment, const char16_t* name, size_t nameLength,
                             size_t* pLength) {
    if (environment == nullptr || nameLength == 0) return nullptr;
    for (const char16_t* entry = environment; *entry != 0; entry += TextLength(entry) + 1) {
        // A name may start with "=" (the current folder of each drive).
        size_t equals = 1;
        while (entry[equals] != 0 && entry[equals] != u'=') ++equals;
        if (entry[equals] != u'=' || equals != nameLength || !SameFolded(entry, name, nameLength)) continue;
        *pLength = TextLength(entry + equals + 1);
        return entry + equals + 1;
    }
    return nullptr;
}

// Appends `length` units of `text` to `out` while they fit; counts them
// whether or not.
void Append(const char16_t* text, size_t length, char16_t* out, size_t capacity, size_t& at) {
    for (size_t i = 0; i < length; ++i, ++at)
        if (out != nullptr && at < capacity) out[at] = text[i];
}

}  // namespace

size_t SpliceArguments(const char16_t* preset, size_t presetLength, const char16_t* tail, size_t tailLength,
                       const char16_t* environment, char16_t* out, size_t capacity) {
    while (tailLength > 0 && IsBlank(tail[0])) ++tail, --tailLength;
    // Counted first, written only when the whole result fits.
    size_t needed = 0;
    for (int pass = 0; pass < 2; ++pass) {
        char16_t* to = pass == 0 ? nullptr : out;
        size_t at = 0;
        bool tailPlaced = false;
        for (size_t i = 0; i < presetLength; ++i) {
            if (preset[i] != u'%' || i + 1 == presetLength) {
                Append(preset + i, 1, to, capacity, at);
                continue;
            }
            if (preset[i + 1] == u'*' || preset[i + 1] == u'%') {
                if (preset[i + 1] == u'*') {
                    Append(tail, tailLength, to, capacity, at);
                    tailPlaced = true;
                } else {
                    Append(u"%", 1, to, capacity, at);
                }
                ++i;
                continue;
            }
            size_t close = i + 1;
            while (close < presetLength && preset[close] != u'%') ++close;
            size_t valueLength = 0;
            const char16_t* value =
                close < presetLength ? FindVariable(environment, preset + i + 1, close - i - 1, &valueLength)
                                     : nullptr;
            if (value == nullptr) {
                // Not a variable: the `%` stays, and the one that closed it
                // may open the next.
                Append(preset + i, 1, to, capacity, at);
                continue;
            }
            Append(value, valueLength, to, capacity, at);
            i = close;
        }
        if (!tailPlaced && tailLength > 0) {
            if (at > 0) Append(u" ", 1, to, capacity, at);
            Append(tail, tailLength, to, capacity, at);
        }
        needed = at + 1;
        if (out == nullptr || needed > capacity) return needed;
        if (pass == 1) out[at] = 0;
    }
    return needed;
}

namespace {

// Each problem's line in both languages: %1 stands for the command's name,
// %2 for the path and %3 for the system's reason.
struct ProblemWords {
    const char16_t* chinese;
    const char16_t* english;
};
constexpr ProblemWords kProblemWords[] = {
    {u"“%1”不是运行命令", u"\"%1\" is not a run command"},
    {u"运行命令“%1”的程序不存在：%2", u"The program of the run command \"%1\" does not exist: %2"},
    {u"运行命令“%1”的程序无法启动：%2：%3",
     u"The program of the run command \"%1\" cannot be started: %2: %3"},
    {u"运行命令“%1”的起始位置不存在：%2",
     u"The start-in folder of the run command \"%1\" does not exist: %2"},
    {u"未以管理员身份运行“%1”：已取消", u"\"%1\" was not run as administrator: cancelled"},
    {u"运行命令“%1”的程序指向它自己的启动文件：%2",
     u"The program of the run command \"%1\" points to its own launcher: %2"},
};

// The places of a line in their order, as digits ("12" for %1 then %2).
consteval unsigned PlacesOf(const char16_t* words) {
    unsigned places = 0;
    for (size_t i = 0; words[i] != 0; ++i)
        if (words[i] == u'%' && words[i + 1] >= u'1' && words[i + 1] <= u'3')
            places = places * 10 + (words[i + 1] - u'0');
    return places;
}

// English in ASCII: no Chinese punctuation slips in.
consteval bool IsAscii(const char16_t* words) {
    for (size_t i = 0; words[i] != 0; ++i)
        if (words[i] > 0x7E) return false;
    return true;
}

consteval bool BothLanguagesAlike() {
    for (const ProblemWords& words : kProblemWords)
        if (words.chinese[0] == 0 || PlacesOf(words.chinese) != PlacesOf(words.english) ||
            !IsAscii(words.english))
            return false;
    return true;
}
static_assert(BothLanguagesAlike(),
              "each line needs both languages with the same places, the English in ASCII");
static_assert(sizeof kProblemWords / sizeof kProblemWords[0] ==
              static_cast<size_t>(LaunchProblem::kStartsItself) + 1);

}  // namespace

bool IsEnglishName(const char16_t* name, size_t length) {
    if (length < 2 || (length > 2 && name[2] != u'-' && name[2] != u'_')) return false;
    return (name[0] == u'e' || name[0] == u'E') && (name[1] == u'n' || name[1] == u'N');
}

size_t LaunchProblemLine(LaunchProblem problem, const char16_t* name, size_t nameLength, const char16_t* path,
                         size_t pathLength, const char16_t* reason, size_t reasonLength, char16_t* out,
                         size_t capacity, bool english) {
    // The system's texts end in a line break, sometimes after a blank.
    while (reasonLength > 0 && (reason[reasonLength - 1] == u'\r' || reason[reasonLength - 1] == u'\n' ||
                                IsBlank(reason[reasonLength - 1])))
        --reasonLength;
    const ProblemWords& line = kProblemWords[static_cast<size_t>(problem)];
    const char16_t* words = english ? line.english : line.chinese;
    Output result(out, capacity);
    size_t from = 0;
    size_t at = 0;
    for (; words[at] != 0; ++at) {
        if (words[at] != u'%' || words[at + 1] < u'1' || words[at + 1] > u'3') continue;
        if (at > from) result.Add(words + from, at - from);
        if (words[at + 1] == u'1') result.Add(name, nameLength);
        if (words[at + 1] == u'2') result.Add(path, pathLength);
        if (words[at + 1] == u'3') result.Add(reason, reasonLength);
        from = at + 2;
        ++at;
    }
    if (at > from) result.Add(words + from, at - from);
    result.Add(u"\r\n", 2);
    return result.Finish();
}

}  // namespace velmora::launcher
