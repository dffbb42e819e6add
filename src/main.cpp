#include <string>
#include <vector>

#include "app/ProcessEntry.hpp"

int main(int argc, char** argv) {
    return corv::app::runProcess(std::vector<std::string>(argv, argv + argc));
}
