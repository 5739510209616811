#include "Startup.h"

int main(int argc, char** argv) { return pontax::RunAdapter(argc, argv); }
