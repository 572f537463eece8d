// Keeps the library buildable until its first unit arrives.
namespace velmora_report_placeholder { int unused = 0; }
