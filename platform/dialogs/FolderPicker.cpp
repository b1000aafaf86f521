#include "platform/dialogs/FolderPicker.h"

#include "platform/Codepage.h"
#include "platform/dialogs/BrowseForFolder.h"
#include "platform/dialogs/FolderTreeModel.h"

#include <QFont>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QPushButton>
#include <QTreeView>

namespace {

constexpr int kWidth = 320;
constexpr int kHeight = 360;
constexpr int kMargin = 12;
constexpr int kTitleHeight = 40;    // three lines of the dialog's font
constexpr int kStatusHeight = 16;   // one line
constexpr int kButtonWidth = 75;
constexpr int kButtonHeight = 23;
// Selection changes reported from inside the callback's own handling of one; a callback
// that keeps moving the selection stops being told at this depth.
constexpr int kMaxNesting = 16;

QFont DialogFont()
{
    // The shell's dialogs use the desktop's Japanese proportional font.
    const QString family = QStringLiteral("ＭＳ Ｐゴシック");
    if (QFont::substitutes(family).isEmpty())
        QFont::insertSubstitution(family, QStringLiteral("IPAPGothic"));
    QFont font(family);
    font.setPixelSize(12);
    return font;
}

}  // namespace

bool BrowseOkAllowed(const ShellNode& node, UINT flags)
{
    if (flags & (BIF_BROWSEFORCOMPUTER | BIF_BROWSEFORPRINTER))
        return false;
    if ((flags & BIF_RETURNONLYFSDIRS) && ShellNodeWindowsPath(node).empty())
        return false;
    if ((flags & BIF_RETURNFSANCESTORS) && node.Kind() == ShellNodeKind::File)
        return false;
    return true;
}

FolderPickerDialog::FolderPickerDialog(QWidget* owner, const ShellNode& root, UINT flags, const QString& title)
    : QDialog(owner, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      flags_(flags)
{
    setWindowTitle(QStringLiteral("フォルダの参照"));
    setFont(DialogFont());
    setFixedSize(kWidth, kHeight);
    const int inner = kWidth - 2 * kMargin;
    int y = 10;

    title_ = new QLabel(title, this);
    title_->setWordWrap(true);
    title_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    title_->setGeometry(kMargin, y, inner, kTitleHeight);
    SetDialogControlId(title_, kBrowseTitleId);
    y += kTitleHeight + 2;

    // A plain static line: text wider than the line is cut off at its right edge.
    status_ = new QLabel(this);
    status_->setTextFormat(Qt::PlainText);
    status_->setGeometry(kMargin, y, inner, kStatusHeight);
    status_->setVisible(flags & BIF_STATUSTEXT);
    SetDialogControlId(status_, kBrowseStatusId);
    if (flags & BIF_STATUSTEXT)
        y += kStatusHeight + 4;

    const int buttonTop = kHeight - kMargin - kButtonHeight;
    model_ = new FolderTreeModel(root, flags & BIF_BROWSEINCLUDEFILES, this);
    tree_ = new QTreeView(this);
    tree_->setHeaderHidden(true);
    tree_->setUniformRowHeights(true);
    tree_->setSelectionMode(QAbstractItemView::SingleSelection);
    tree_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    tree_->setModel(model_);
    // Long names scroll sideways, as in the classic tree, rather than being cut short.
    tree_->setTextElideMode(Qt::ElideNone);
    tree_->header()->setStretchLastSection(false);
    tree_->header()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    tree_->setGeometry(kMargin, y, inner, buttonTop - 10 - y);
    SetDialogControlId(tree_, kBrowseTreeId);

    ok_ = new QPushButton(QStringLiteral("OK"), this);
    ok_->setDefault(true);
    ok_->setGeometry(kWidth - kMargin - 2 * kButtonWidth - 6, buttonTop, kButtonWidth, kButtonHeight);
    SetDialogControlId(ok_, kBrowseOkId);
    cancel_ = new QPushButton(QStringLiteral("キャンセル"), this);
    cancel_->setGeometry(kWidth - kMargin - kButtonWidth, buttonTop, kButtonWidth, kButtonHeight);
    SetDialogControlId(cancel_, kBrowseCancelId);
    connect(ok_, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);

    const QModelIndex top = model_->RootIndex();
    tree_->expand(top);
    tree_->setCurrentIndex(top);
    ok_->setEnabled(BrowseOkAllowed(root, flags_));
    connect(tree_->selectionModel(), &QItemSelectionModel::currentChanged, this, [this]() { SelectionChanged(); });
    tree_->setFocus();
}

FolderPickerDialog::~FolderPickerDialog() = default;

void FolderPickerDialog::Start(Callback callback)
{
    callback_ = std::move(callback);
    Notify(BFFM_INITIALIZED, 0);
    std::optional<ShellNode> selection = Selection();
    if (!failure_ && selection && selection != lastReported_) {
        LPITEMIDLIST list = selection->ToIdList();
        lastReported_ = selection;
        Notify(BFFM_SELCHANGED, reinterpret_cast<LPARAM>(list));
        ILFree(list);
    }
}

void FolderPickerDialog::SelectionChanged()
{
    std::optional<ShellNode> selection = Selection();
    ok_->setEnabled(selection && BrowseOkAllowed(*selection, flags_));
    if (!selection)
        return;
    lastReported_ = selection;
    LPITEMIDLIST list = selection->ToIdList();
    Notify(BFFM_SELCHANGED, reinterpret_cast<LPARAM>(list));
    ILFree(list);
}

void FolderPickerDialog::Notify(UINT message, LPARAM parameter)
{
    if (!callback_ || failure_ || nesting_ >= kMaxNesting)
        return;
    ++nesting_;
    try {
        callback_(WindowHandleOf(this), message, parameter);
    } catch (...) {
        failure_ = std::current_exception();
        reject();
    }
    --nesting_;
}

bool FolderPickerDialog::Select(const ShellNode& node)
{
    QModelIndex index = model_->IndexOf(node);
    if (!index.isValid())
        return false;
    for (QModelIndex parent = index.parent(); parent.isValid(); parent = parent.parent())
        tree_->expand(parent);
    tree_->setCurrentIndex(index);
    tree_->scrollTo(index);
    return true;
}

bool FolderPickerDialog::SelectPath(const std::string& cp932Path)
{
    ShellNode node;
    return SUCCEEDED(ParseShellPath(cp932Path, node)) && Select(node);
}

bool FolderPickerDialog::SelectIdList(LPCITEMIDLIST list)
{
    std::optional<ShellNode> node = list ? ShellNode::FromIdList(list) : std::nullopt;
    return node && Select(*node);
}

void FolderPickerDialog::SetStatusText(const std::string& cp932Text) { status_->setText(Cp932ToUnicode(cp932Text)); }

void FolderPickerDialog::EnableOk(bool enable) { ok_->setEnabled(enable); }

std::optional<LRESULT> FolderPickerDialog::WindowMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case BFFM_SETSTATUSTEXTA:
        SetStatusText(lParam ? reinterpret_cast<const char*>(lParam) : "");
        return 0;
    case BFFM_ENABLEOK:
        EnableOk(lParam != 0);
        return 0;
    case BFFM_SETSELECTIONA:
        if (wParam)
            return lParam && SelectPath(reinterpret_cast<const char*>(lParam)) ? TRUE : FALSE;
        return SelectIdList(reinterpret_cast<LPCITEMIDLIST>(lParam)) ? TRUE : FALSE;
    default:
        return std::nullopt;
    }
}

std::optional<ShellNode> FolderPickerDialog::Selection() const
{
    const ShellNode* node = model_->NodeAt(tree_->currentIndex());
    return node ? std::optional<ShellNode>(*node) : std::nullopt;
}
