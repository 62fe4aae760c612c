#pragma once
// The main loop of the helper programs that tests start as second processes: each line
// read from standard input is one command, answered by one line on standard output.

#include <iostream>
#include <string>

namespace testing_support {

template <class Answer>
int serve_commands(Answer answer) {
    std::string line;
    while (std::getline(std::cin, line)) std::cout << answer(line) << std::endl;
    return 0;
}

}  // namespace testing_support
