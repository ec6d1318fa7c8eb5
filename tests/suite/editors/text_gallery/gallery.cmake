# A setup dialog's text editors on a form (a plain one, a right-aligned one
# that paints its own text while unfocused, one in the native look, one with
# lookup items): drawn headless with our visual styles and with none
# (pictures in the build folder), and shown in a real window under a virtual
# X server in both modes, where typing completes a lookup item.
vxn_form_gallery(text_gallery ${CMAKE_CURRENT_LIST_DIR}/TextGallery.cpp vxn_editors editors
                 ${CMAKE_CURRENT_LIST_DIR}/run.sh)
