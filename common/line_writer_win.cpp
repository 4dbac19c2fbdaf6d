// The writer's borrowed runs on Windows: written one by one.
#include "common/line_writer.hpp"

namespace pliego {

void LineWriter::putPieces() {
  for (const auto piece : pieces_) put(piece.data(), piece.size());
}

void LineWriter::writeBorrowed(std::string_view bytes) { writeBytes(bytes); }

}  // namespace pliego
