// Keeps the library buildable until its first unit arrives.
namespace velmora_ui_placeholder { int unused = 0; }
