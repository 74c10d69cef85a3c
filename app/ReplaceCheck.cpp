#include "app/ReplaceCheck.h"

#include "app/RunEntries.h"

const char* const kReplaceQuestionCaption = "替换运行命令";

CString ExistingTargetForWrite(bool writesForCurrentUser, const CString& userValue,
                               const CString& machineValue) {
    if (!writesForCurrentUser) return machineValue;
    return TargetFileOf(userValue).IsEmpty() ? machineValue : userValue;
}

bool NeedsReplaceQuestion(const CString& existing, const CString& newPath) {
    const CString file = TargetFileOf(existing);
    return !file.IsEmpty() && file.CompareNoCase(newPath) != 0;
}

CString ReplaceQuestionText(const CString& name, const CString& existing, const CString& newPath) {
    CString text;
    text.Format("命令“%s”已指向：%s\n是否改为：%s？", name.GetString(), existing.GetString(),
                newPath.GetString());
    return text;
}
