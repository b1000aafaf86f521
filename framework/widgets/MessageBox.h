#pragma once
// MessageBox: stands for the Win32 message box. Boxes look and answer as on a
// Japanese desktop of the time: "はい(&Y)", "いいえ(&N)", "OK"; Enter answers
// the default button; Escape does nothing in a Yes/No box (it has no Cancel);
// the caption and icon are the caller's.
//
// Every box goes through one service. Tests install a seam that records each
// request and answers it without showing anything.

#include <QString>

#include <functional>
#include <vector>

class TControl;

// Flags (stand for the Win32 MB_* values).
inline constexpr unsigned MB_OK = 0x00000000;
inline constexpr unsigned MB_OKCANCEL = 0x00000001;
inline constexpr unsigned MB_YESNO = 0x00000004;
inline constexpr unsigned MB_ICONHAND = 0x00000010;
inline constexpr unsigned MB_ICONSTOP = MB_ICONHAND;
inline constexpr unsigned MB_ICONERROR = MB_ICONHAND;
inline constexpr unsigned MB_ICONQUESTION = 0x00000020;
inline constexpr unsigned MB_ICONEXCLAMATION = 0x00000030;
inline constexpr unsigned MB_ICONWARNING = MB_ICONEXCLAMATION;
inline constexpr unsigned MB_ICONASTERISK = 0x00000040;
inline constexpr unsigned MB_ICONINFORMATION = MB_ICONASTERISK;
inline constexpr unsigned MB_DEFBUTTON1 = 0x00000000;
inline constexpr unsigned MB_DEFBUTTON2 = 0x00000100;
inline constexpr unsigned MB_APPLMODAL = 0x00000000;
inline constexpr unsigned MB_SYSTEMMODAL = 0x00001000;
inline constexpr unsigned MB_TASKMODAL = 0x00002000;

// Answers (stand for the Win32 ID* values).
inline constexpr int IDOK = 1;
inline constexpr int IDCANCEL = 2;
inline constexpr int IDYES = 6;
inline constexpr int IDNO = 7;

struct MessageBoxRequest {
    QString text;
    QString caption;
    unsigned type = 0;
    bool hadOwner = false;

    unsigned Buttons() const { return type & 0x0F; }
    unsigned Icon() const { return type & 0xF0; }
    unsigned DefaultButton() const { return type & 0xF00; }
};

// Shows a box and returns the answer. owner (the control whose window owns
// the box) may be null. The box is wide enough for its caption where the
// screen allows.
int MessageBox(TControl* owner, const QString& text, const QString& caption, unsigned type);

// The test seam: while installed, boxes are recorded and answered by the
// handler instead of being shown. Nested seams restore the previous one.
class MessageBoxSeam {
public:
    using Answer = std::function<int(const MessageBoxRequest&)>;
    explicit MessageBoxSeam(Answer answer);
    ~MessageBoxSeam();
    MessageBoxSeam(const MessageBoxSeam&) = delete;
    MessageBoxSeam& operator=(const MessageBoxSeam&) = delete;

    const std::vector<MessageBoxRequest>& Requests() const { return requests_; }
    void SetAnswer(Answer answer) { answer_ = std::move(answer); }
    int Handle(const MessageBoxRequest& request);

private:
    Answer answer_;
    std::vector<MessageBoxRequest> requests_;
    MessageBoxSeam* previous_ = nullptr;
};
