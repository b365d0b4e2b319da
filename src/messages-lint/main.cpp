#include "messages-lint/lint.h"

int main(int argc, char** argv) { return mt::lint::lint_main(argc, argv); }
