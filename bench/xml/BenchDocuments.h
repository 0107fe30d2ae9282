#pragma once
// Generated documents shaped like the files the system reads and writes most.
#include <cstddef>
#include <string>

namespace qvn::bench {

// Instance tags of a scene in the single-line form of the scene store: plug-in elements with
// configuration items, node records with Base64 transforms and recorded input curves as long
// Base64 texts, repeated up to about `targetSize` bytes.
std::string sceneDocument(size_t targetSize);
// The same tags without recordings: many small elements and attributes, little text.
std::string tagDenseDocument(size_t targetSize);
// A window layout of about 2 KB in the indented form of saved files.
std::string layoutDocument();

} // namespace qvn::bench
