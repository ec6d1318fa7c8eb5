# A dialog's push buttons, a tree view container, check boxes and a group box of
# radio buttons on a form: drawn headless with our visual styles
# and with none (pictures in the build folder), and shown in a real window
# under a virtual X server in both modes.
vxn_form_gallery(button_gallery ${CMAKE_CURRENT_LIST_DIR}/ButtonGallery.cpp vxn_editors editors
                 ${CMAKE_CURRENT_LIST_DIR}/run.sh)
