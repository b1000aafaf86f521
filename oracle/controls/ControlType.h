#pragma once
// Whether a picture panel is a plain panel or a press-to-hide picture button.

enum TControlType { ctPanel, ctButton };
