// vadz: recharge arrays and well lists for the regional groundwater-flow
// model, from one parameter file.
#include "run/main_program.h"

int main(int argc, char** argv) { return vadz::main_program(argc, argv); }
