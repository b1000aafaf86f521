#pragma once
// TFiler: what a persistent object sees of a form-stream reader or writer when
// it declares stored properties of its own (DefineProperties). The reader calls
// readData for a property it meets in the stream; the writer calls writeData
// when hasData is true. For a byte-block property the stream passed in holds
// exactly the block's bytes (reading) or collects them (writing).

#include "framework/core/Classes.h"

#include <functional>
#include <string>

class TFiler {
public:
    virtual ~TFiler() = default;
    virtual void DefineBinaryProperty(const std::string& name,
                                      std::function<void(TStream&)> readData,
                                      std::function<void(TStream&)> writeData,
                                      bool hasData) = 0;
};
