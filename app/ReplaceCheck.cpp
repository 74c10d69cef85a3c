#include "app/ReplaceCheck.h"

#include "app/RunEntries.h"

const char* const kReplaceQuestionCaption = "替换运行命令";

CStringW ExistingTargetForWrite(bool writesForCurrentUser, const CStringW& userValue,
                                const CStringW& machineValue) {
    if (!writesForCurrentUser) return machineValue;
    return TargetFileOf(userValue).IsEmpty() ? machineValue : userValue;
}

bool NeedsReplaceQuestion(const CStringW& existing, const CStringW& newPath) {
    const CStringW file = TargetFileOf(existing);
    return !file.IsEmpty() && file.CompareNoCase(newPath) != 0;
}

CStringW ReplaceQuestionText(const CStringW& name, const CStringW& existing, const CStringW& newPath) {
    return velmora::FillIn(velmora::WideFrom936("命令“%s”已指向：%s\n是否改为：%s？"),
                           {name, existing, newPath});
}
