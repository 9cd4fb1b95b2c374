// The bundlor program.
#include <cstdio>

#include "bundlor/bundlor_app.h"

int main(int argc, char** argv) { return RunBundlor(argc, argv, stdout, stderr); }
