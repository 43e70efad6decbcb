#include "driver/program.hpp"
#include "driver/run.hpp"

int main(int argc, char** argv) {
    return kiv::runMain(argc, argv, kiv::exportProgram());
}
