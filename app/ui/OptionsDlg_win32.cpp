#include "app/ui/OptionsDlg_win32.h"

#include "app/platform/FileDialogs_win32.h"
#include "app/registry/KeyPath.h"
#include "app/text/ViewText.h"
#include "res/resource.h"

namespace {

constexpr SIZE kOptionsSize{520, 400};
constexpr int kFieldHeight = 22;
constexpr int kLabelHeight = 20;
constexpr int kTextLimit = 2048;

using velmora::Text;

constexpr Text kTitle{"属性：%s", "%s properties"};
constexpr Text kArgumentsLabel{"参数", "Arguments"};
// Filled with "%*", "%*", "%%" and "%": the signs the hint is about are no
// holes of the text itself.
constexpr Text kArgumentsHint{"输入的参数放在 %s 处，没有 %s 时放在最后；%s 是 %s",
                              "Typed arguments go at %s, or at the end without %s; %s is %s"};
constexpr Text kFolderLabel{"起始位置", "Start in"};
constexpr Text kEnvironmentLabel{"环境变量（每行一个 NAME=VALUE）",
                                 "Environment variables (NAME=VALUE, one per line)"};
constexpr Text kAdministratorBox{"以管理员身份运行", "Run as administrator"};
constexpr Text kChooseFolder{"选择起始位置", "Choose the folder to start in"};

}  // namespace

std::vector<CStringW> VariablesOfLines(const CStringW& text) {
    std::vector<CStringW> variables;
    std::vector<CStringW> lines;
    SplitString(text, u"\n", lines, false);
    for (CStringW line : lines) {
        line.Trim(u"\r");
        if (!CStringW(line).Trim().IsEmpty()) variables.push_back(line);
    }
    return variables;
}

CStringW LinesOfVariables(const std::vector<CStringW>& variables) {
    CStringW text;
    for (const CStringW& variable : variables) text += (text.IsEmpty() ? u"" : u"\r\n") + variable;
    return text;
}

COptionsDlg::COptionsDlg(const CStringW& strCommand, RunCommandOptions& options, CWnd* pParent)
    : CSkinnedToolDlg(pParent), m_strCommand(strCommand), m_options(options) {}

BOOL COptionsDlg::OnInitDialog() {
    OpenSkinned(velmora::FillIn(velmora::WideFrom936(kTitle), {m_strCommand}), kOptionsSize);
    const RECT none{0, 0, 0, 0};
    AddLabel(m_lblArguments, IDC_OPT_LABEL_ARGUMENTS, velmora::WideFrom936(kArgumentsLabel));
    m_editArguments.Create(WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_BORDER | ES_AUTOHSCROLL, none, this,
                           IDC_OPT_ARGUMENTS);
    AddLabel(m_lblHint, IDC_OPT_HINT,
             velmora::FillIn(velmora::WideFrom936(kArgumentsHint), {u"%*", u"%*", u"%%", u"%"}));
    AddLabel(m_lblFolder, IDC_OPT_LABEL_FOLDER, velmora::WideFrom936(kFolderLabel));
    m_editFolder.Create(WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_BORDER | ES_AUTOHSCROLL, none, this,
                        IDC_OPT_FOLDER);
    AddButton(m_btnBrowse, IDC_OPT_BROWSE, velmora::WideFrom936(kBrowseButton));
    AddLabel(m_lblEnvironment, IDC_OPT_LABEL_ENVIRONMENT, velmora::WideFrom936(kEnvironmentLabel));
    m_editEnvironment.Create(WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_BORDER | WS_VSCROLL | ES_MULTILINE |
                                 ES_AUTOVSCROLL | ES_WANTRETURN,
                             none, this, IDC_OPT_ENVIRONMENT);
    m_checkAdmin.CreateEx(0, L"BUTTON", velmora::WideFrom936(kAdministratorBox),
                          WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_AUTOCHECKBOX, none, this, IDC_OPT_ADMIN);
    AddButton(m_btnOk, IDOK, velmora::WideFrom936(kOkButton));
    AddButton(m_btnCancel, IDCANCEL, velmora::WideFrom936(kCancelButton));
    for (CEdit* edit : {&m_editArguments, &m_editFolder, &m_editEnvironment}) edit->LimitText(kTextLimit);
    m_editArguments.SetWindowText(m_options.arguments);
    m_editFolder.SetWindowText(m_options.folder);
    m_editEnvironment.SetWindowText(LinesOfVariables(m_options.environment));
    m_checkAdmin.SendMessage(BM_SETCHECK, m_options.administrator ? BST_CHECKED : BST_UNCHECKED);
    StartLayout();
    m_editArguments.SetFocus();
    return FALSE;
}

std::vector<CQebTransButton*> COptionsDlg::SkinControls() {
    return {&m_lblArguments, &m_lblHint, &m_lblFolder, &m_lblEnvironment,
            &m_btnBrowse,    &m_btnOk,   &m_btnCancel};
}

void COptionsDlg::LayOutControls() {
    RECT inner{};
    GetInnerRect(&inner);
    const int left = inner.left + Scaled(kMargin);
    const int right = inner.right - Scaled(kMargin);
    const int bottomTop = inner.bottom - Scaled(kMargin) - Scaled(kButtonHeight);
    for (CEdit* edit : {&m_editArguments, &m_editFolder, &m_editEnvironment})
        edit->SetFont(CFont::TextFont(Dpi()));
    m_checkAdmin.SetFont(CFont::TextFont(Dpi()));
    int y = inner.top + Scaled(kMargin);
    const auto row = [&](CWnd& control, int height, int width) {
        control.MoveWindow(left, y, width, height, TRUE);
        y += height + Scaled(kButtonGap) / 2;
    };
    row(m_lblArguments, Scaled(kLabelHeight), right - left);
    row(m_editArguments, Scaled(kFieldHeight), right - left);
    row(m_lblHint, Scaled(kLabelHeight), right - left);
    y += Scaled(kButtonGap);
    row(m_lblFolder, Scaled(kLabelHeight), right - left);
    const int browseLeft = right - Scaled(kButtonWidth);
    m_btnBrowse.MoveWindow(browseLeft, y, Scaled(kButtonWidth), Scaled(kButtonHeight), TRUE);
    row(m_editFolder, Scaled(kFieldHeight), browseLeft - Scaled(kButtonGap) - left);
    y += Scaled(kButtonGap);
    row(m_lblEnvironment, Scaled(kLabelHeight), right - left);
    const int checkTop = bottomTop - Scaled(kMargin) - Scaled(kFieldHeight);
    m_editEnvironment.MoveWindow(left, y, right - left, checkTop - Scaled(kButtonGap) - y, TRUE);
    m_checkAdmin.MoveWindow(left, checkTop, right - left, Scaled(kFieldHeight), TRUE);
    m_btnOk.MoveWindow(right - 2 * Scaled(kButtonWidth) - Scaled(kButtonGap), bottomTop, Scaled(kButtonWidth),
                       Scaled(kButtonHeight), TRUE);
    m_btnCancel.MoveWindow(right - Scaled(kButtonWidth), bottomTop, Scaled(kButtonWidth),
                           Scaled(kButtonHeight), TRUE);
}

BOOL COptionsDlg::OnCommand(WPARAM wParam, LPARAM lParam) {
    if (HIWORD(wParam) == BN_CLICKED && LOWORD(wParam) == IDC_OPT_BROWSE) {
        const CStringW folder = AskFolder(m_hWnd, velmora::WideFrom936(kChooseFolder));
        if (!folder.IsEmpty()) m_editFolder.SetWindowText(folder);
        return TRUE;
    }
    return CSkinnedToolDlg::OnCommand(wParam, lParam);
}

void COptionsDlg::OnOK() {
    RunCommandOptions options;
    options.arguments = m_editArguments.GetWindowText();
    options.folder = CStringW(m_editFolder.GetWindowText()).Trim();
    options.environment = VariablesOfLines(m_editEnvironment.GetWindowText());
    options.administrator = m_checkAdmin.SendMessage(BM_GETCHECK) == BST_CHECKED;
    m_options = options;
    CQebDialog::OnOK();
}
