// Keeps the library buildable until its first unit arrives.
namespace velmora_treeview_placeholder { int unused = 0; }
