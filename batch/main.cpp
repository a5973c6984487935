// corvelinscope-batch: see BatchProgram.h for the command line and the exit codes.
#include <string>
#include <vector>

#include "batch/BatchProgram.h"

using namespace corvelin;

int main(int argc, char** argv)
{
    return RunBatchProgram(std::vector<std::string>(argv, argv + argc));
}
