// A library for the dynamic-loading tests: two entry points with C names.
extern "C" int TestLibraryAnswer() { return 42; }
extern "C" int TestLibraryTwice(int value) { return value * 2; }
