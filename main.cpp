#include "shell/gProgram.h"

int main(int argc, char** argv) {
    return gRunProgram(argc, argv);
}
