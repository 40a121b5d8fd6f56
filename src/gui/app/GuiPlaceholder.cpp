// Keeps the widgets library non-empty until the first window lands.
namespace tarvel_gui_detail { int placeholder = 0; }
