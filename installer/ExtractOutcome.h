#pragma once
// How one extraction went, as the progress window records it for the install dialog:
// whether the library loaded, whether Unlha ran and what it answered. A failure gets one
// warning box in plain Japanese, naming the member when one is to blame.

#include "installer/Archiver.h"

#include <QString>

#include <string>

struct ExtractOutcome {
    ArchiverLoad load = ArchiverLoad::Missing;
    bool unlhaCalled = false;     // the library had an Unlha entry point and it was called
    bool raised = false;          // an error was raised during the call
    int unlhaResult = -1;         // what Unlha returned
    std::string resultText;       // its output text (code page 932)

    bool LoadGood() const { return load == ArchiverLoad::Good; }
    bool Succeeded() const { return LoadGood() && unlhaCalled && !raised && unlhaResult == kUnlhaOk; }
    // The member named in the output text when the result blames one (code page 932).
    std::string FailedMember() const;
};

// The caption of the installer's warnings: "警告".
QString ExtractWarningCaption();

// The warning for a failed outcome, or an empty text when no box is due: on success, and
// after a too-old library, whose own warning has been shown already.
QString ExtractWarningText(const ExtractOutcome& outcome);
