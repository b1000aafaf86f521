#pragma once
// Loading the desk tour's photographs: JPEG files, whatever their extension.

#include "framework/graphics/Picture.h"

#include <string>

// Decodes a JPEG file (a Windows path) into the picture as a 24-bit bitmap.
// An empty name leaves an empty bitmap; a file that is missing, empty, a
// folder or no readable JPEG raises an error that names the file.
void LoadJpegPicture(const std::string& fileName, TPicture* picture);
