#include "app/ApplicationMain.h"

int main(int argc, char** argv) {
    return reelhound::applicationMain(argc, argv);
}
