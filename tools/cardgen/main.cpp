// cardgen: writes the container files of a card from a text description.
// Usage: cardgen <description file, or - for standard input> <output folder>
#include "tools/cardgen/card_generator.h"
#include "tools/cardgen/description_parser.h"

#include <exception>
#include <fstream>
#include <iostream>

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::cerr << "usage: cardgen <description file | -> <output folder>\n";
        return 2;
    }
    try {
        qel::cardgen::TCardDescription desc;
        const std::string source = argv[1];
        if (source == "-") {
            desc = qel::cardgen::ParseCardDescription(std::cin);
        } else {
            std::ifstream in(source);
            if (!in) {
                std::cerr << "cardgen: cannot open " << source << "\n";
                return 1;
            }
            desc = qel::cardgen::ParseCardDescription(in);
        }
        const auto manifest = qel::cardgen::GenerateCard(desc, argv[2]);
        for (const auto& file : manifest.Files) {
            std::cout << file << "\n";
        }
        std::cout << manifest.Clusters << " clusters\n";
        return 0;
    } catch (const std::exception& error) {
        std::cerr << "cardgen: " << error.what() << "\n";
        return 1;
    }
}
