// import-data: measured data into an input file, for scripts.
#include "ImportDataCommand.h"

#include <iostream>

int main(int argc, char** argv) {
    return veltrana::RunImportData(std::vector<std::string>(argv + 1, argv + argc), std::cout,
                                   std::cerr);
}
