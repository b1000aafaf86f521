// The fortune viewer.

#include "oracle/RunOracle.h"

int main(int argc, char** argv) { return RunOracle(argc, argv); }
