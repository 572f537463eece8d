// Keeps the library buildable until its first unit arrives.
namespace velmora_controls_placeholder { int unused = 0; }
