// Errors of the drawing layer.
#pragma once

#include <stdexcept>

namespace plat {

// A bitmap of no pixels, of too many, or of an unsupported pixel format; a
// graphic that cannot be read.
class EInvalidGraphic : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A drawing resource that cannot be had (a surface, a font map, a file).
class EOutOfResources : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

} // namespace plat

namespace plat {

// A resource (a bitmap by name) that the program does not hold.
class EResNotFound : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

} // namespace plat
