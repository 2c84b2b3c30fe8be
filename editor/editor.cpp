// The editor library's anchor: keeps the target non-empty while it grows.
namespace glimt { int EditorLibraryAnchor = 0; }
