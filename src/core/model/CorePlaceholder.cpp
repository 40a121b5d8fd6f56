namespace tarvel_core_detail { int placeholder = 0; }
