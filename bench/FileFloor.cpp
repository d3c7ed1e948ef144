// The floor of a command on files: a plain C++ program (the C++ runtime, no toolkit) that reads a configuration
// file and writes a 129-byte stream to standard output, as `vq3 compile FILE` does, without compiling anything.
// What vq3 takes beyond this is its own start-up and work.
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::cerr << "usage: file_floor FILE\n";
        return 2;
    }
    std::ifstream in(argv[1], std::ios::binary);
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (!in.eof() && in.fail()) {
        std::cerr << "file_floor: cannot read " << argv[1] << '\n';
        return 2;
    }
    std::string stream = "D" + text.substr(0, 128);
    stream.resize(129, '\0');
    std::cout.write(stream.data(), static_cast<std::streamsize>(stream.size()));
    std::cout.flush();
    return std::cout ? 0 : 2;
}
