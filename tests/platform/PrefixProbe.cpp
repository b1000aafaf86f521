// A program that only makes sure of its prefix, the way every program of the disc does
// at start. Tests copy it into a disc layout to see which SYSTEM folder it finds.
#include "platform/Prefix.h"

int main() { return EnsurePrefix() ? 0 : 1; }
