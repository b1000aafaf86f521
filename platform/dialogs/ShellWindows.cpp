#include "platform/dialogs/ShellWindows.h"

#include "platform/Codepage.h"

#include <QAbstractButton>
#include <QApplication>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QLabel>
#include <QPointer>
#include <QScreen>
#include <QVariant>
#include <QWidget>

#include <cstring>
#include <map>

namespace {

constexpr const char* kHandleProperty = "vnWindowHandle";
constexpr const char* kControlIdProperty = "vnDialogControlId";

std::map<HWND, QPointer<QWidget>>& Handles()
{
    static std::map<HWND, QPointer<QWidget>> handles;
    return handles;
}

HWND nextHandle = HWND(1) << 44;

QString TextOf(QWidget* widget)
{
    if (widget->isWindow())
        return widget->windowTitle();
    if (auto* label = qobject_cast<QLabel*>(widget))
        return label->text();
    if (auto* button = qobject_cast<QAbstractButton*>(widget))
        return button->text();
    return {};
}

void SetTextOf(QWidget* widget, const QString& text)
{
    if (widget->isWindow())
        widget->setWindowTitle(text);
    else if (auto* label = qobject_cast<QLabel*>(widget))
        label->setText(text);
    else if (auto* button = qobject_cast<QAbstractButton*>(widget))
        button->setText(text);
}

LRESULT CopyText(const std::string& text, WPARAM size, LPARAM buffer)
{
    char* out = reinterpret_cast<char*>(buffer);
    if (!out || size == 0)
        return 0;
    std::size_t keep = 0;
    while (keep < text.size()) {
        std::size_t next = Cp932NextChar(text, keep);
        if (next > size - 1)
            break;
        keep = next;
    }
    std::memcpy(out, text.data(), keep);
    out[keep] = '\0';
    return static_cast<LRESULT>(keep);
}

// The frame of a window. One that is not on the screen yet has no frame of its own so
// far: it gets the one its owner (or any window of the program on the screen) has, as
// windows of one desktop share their decorations.
QRect FrameOf(QWidget* window)
{
    if (window->isVisible())
        return window->frameGeometry();
    QWidget* model = window->parentWidget() ? window->parentWidget()->window() : nullptr;
    if (!model || !model->isVisible()) {
        model = nullptr;
        for (QWidget* candidate : QApplication::topLevelWidgets())
            if (candidate->isVisible() && candidate != window) {
                model = candidate;
                break;
            }
    }
    if (!model)
        return window->frameGeometry();
    QRect inner = model->geometry();
    QRect outer = model->frameGeometry();
    QMargins frame(inner.left() - outer.left(), inner.top() - outer.top(), outer.right() - inner.right(),
                   outer.bottom() - inner.bottom());
    QRect area = window->geometry();
    // A window that was never placed has no position yet: its frame starts where it is.
    return QRect(area.topLeft(), area.size().grownBy(frame));
}

// Descendants in creation order, depth first.
bool VisitChildren(QWidget* parent, WNDENUMPROC visit, LPARAM data)
{
    for (QObject* object : parent->children()) {
        auto* child = qobject_cast<QWidget*>(object);
        if (!child || child->isWindow())
            continue;
        if (!visit(WindowHandleOf(child), data))
            return false;
        if (!VisitChildren(child, visit, data))
            return false;
    }
    return true;
}

}  // namespace

HWND WindowHandleOf(QWidget* widget)
{
    if (!widget)
        return 0;
    QVariant known = widget->property(kHandleProperty);
    if (known.isValid())
        return static_cast<HWND>(known.toULongLong());
    HWND handle = nextHandle++;
    Handles()[handle] = widget;
    widget->setProperty(kHandleProperty, QVariant::fromValue<qulonglong>(handle));
    QObject::connect(widget, &QObject::destroyed, [handle]() { Handles().erase(handle); });
    return handle;
}

QWidget* WidgetOfWindowHandle(HWND window)
{
    auto found = Handles().find(window);
    return found == Handles().end() ? nullptr : found->second.data();
}

void SetDialogControlId(QWidget* control, int id) { control->setProperty(kControlIdProperty, id); }

LRESULT SendMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    QWidget* widget = WidgetOfWindowHandle(window);
    if (!widget)
        return 0;
    if (auto* own = dynamic_cast<ShellWindowMessages*>(widget))
        if (std::optional<LRESULT> result = own->WindowMessage(message, wParam, lParam))
            return *result;
    switch (message) {
    case WM_SETTEXT:
        SetTextOf(widget, lParam ? Cp932ToUnicode(reinterpret_cast<const char*>(lParam)) : QString());
        return TRUE;
    case WM_GETTEXT:
        return CopyText(UnicodeToCp932(TextOf(widget)), wParam, lParam);
    default:
        return 0;
    }
}

BOOL GetWindowRect(HWND window, RECT* rect)
{
    QWidget* widget = WidgetOfWindowHandle(window);
    if (!widget || !rect)
        return FALSE;
    QRect area = widget->isWindow() ? FrameOf(widget) : QRect(widget->mapToGlobal(QPoint(0, 0)), widget->size());
    rect->left = area.left();
    rect->top = area.top();
    rect->right = area.left() + area.width();
    rect->bottom = area.top() + area.height();
    return TRUE;
}

BOOL SetWindowPos(HWND window, HWND, int x, int y, int width, int height, UINT flags)
{
    QWidget* widget = WidgetOfWindowHandle(window);
    if (!widget)
        return FALSE;
    if (!(flags & SWP_NOSIZE)) {
        QSize frameExtra = widget->isWindow() ? FrameOf(widget).size() - widget->size() : QSize();
        widget->resize(width - frameExtra.width(), height - frameExtra.height());
    }
    if (!(flags & SWP_NOMOVE)) {
        if (widget->isWindow())
            widget->move(x, y);  // a window's position is its frame's
        else
            widget->move(widget->parentWidget()->mapFromGlobal(QPoint(x, y)));
    }
    return TRUE;
}

int GetSystemMetrics(int index)
{
    QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen)
        return 0;
    switch (index) {
    case SM_CXSCREEN:
        return screen->geometry().width();
    case SM_CYSCREEN:
        return screen->geometry().height();
    default:
        return 0;
    }
}

BOOL EnumChildWindows(HWND parent, WNDENUMPROC visit, LPARAM data)
{
    QWidget* widget = WidgetOfWindowHandle(parent);
    if (!widget || !visit)
        return FALSE;
    VisitChildren(widget, visit, data);
    return TRUE;
}

int GetDlgCtrlID(HWND window)
{
    QWidget* widget = WidgetOfWindowHandle(window);
    return widget ? widget->property(kControlIdProperty).toInt() : 0;
}

HWND GetDlgItem(HWND dialog, int id)
{
    struct Search {
        int id;
        HWND found;
    } search{id, 0};
    EnumChildWindows(dialog, [](HWND child, LPARAM data) -> BOOL {
        auto* wanted = reinterpret_cast<Search*>(data);
        if (GetDlgCtrlID(child) != wanted->id)
            return TRUE;
        wanted->found = child;
        return FALSE;
    }, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

BOOL IsWindowEnabled(HWND window)
{
    QWidget* widget = WidgetOfWindowHandle(window);
    return widget && widget->isEnabled();
}

BOOL GetWindowTextExtentA(HWND window, LPCSTR text, int length, SIZE* size)
{
    QWidget* widget = WidgetOfWindowHandle(window);
    if (!widget || !size || length < 0 || (!text && length > 0))
        return FALSE;
    QFontMetrics metrics(widget->font());
    QString unicode = Cp932ToUnicode(std::string_view(text ? text : "", static_cast<std::size_t>(length)));
    size->cx = metrics.horizontalAdvance(unicode);
    size->cy = metrics.height();
    return TRUE;
}
