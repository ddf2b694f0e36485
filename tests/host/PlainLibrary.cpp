// A shared library that is not a VST3 module: it exports none of the entry points.
extern "C" __attribute__((visibility("default"))) int plainLibraryAnswer() {
    return 42;
}
