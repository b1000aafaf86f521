#pragma once
// Test seam: tests watch which photographs the desk tour loads, in order.

#include <functional>
#include <string>

void SetJpegLoadObserver(std::function<void(const std::string& fileName)> observer);
