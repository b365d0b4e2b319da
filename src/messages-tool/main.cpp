#include "messages-tool/cli.h"

int main(int argc, char** argv) { return mt::tool_main(argc, argv); }
