# `cmake --install build --prefix DIR` lays the runnable folder at DIR/share/brackle and
# adds desktop launchers and icons, so the game and the editor start from the menu.
set(BRACKLE_APP_DIR share/brackle)
install(TARGETS brackle quorlin brackle-solve brackle-preview RUNTIME DESTINATION ${BRACKLE_APP_DIR})
list(TRANSFORM BRACKLE_RUNTIME_FILES PREPEND assets/ OUTPUT_VARIABLE shipped)
install(FILES ${shipped} DESTINATION ${BRACKLE_APP_DIR})
install(FILES ${BRACKLE_ICON_DIR}/brackle.png DESTINATION share/icons/hicolor/64x64/apps)
install(FILES ${BRACKLE_ICON_DIR}/quorlin.png DESTINATION share/icons/hicolor/64x64/apps)

# The launchers name the installed programs by absolute path, known only at install time.
install(CODE [[
  set(app "${CMAKE_INSTALL_PREFIX}/share/brackle")
  set(dir "$ENV{DESTDIR}${CMAKE_INSTALL_PREFIX}/share/applications")
  file(MAKE_DIRECTORY "${dir}")
  file(WRITE "${dir}/brackle.desktop" "[Desktop Entry]
Type=Application
Name=Skelmora
Comment=A turn-based painting puzzle
Exec=\"${app}/brackle\"
Path=${app}
Icon=brackle
Terminal=false
Categories=Game;LogicGame;
")
  file(WRITE "${dir}/quorlin.desktop" "[Desktop Entry]
Type=Application
Name=Brackleエディタ
Comment=Stage editor for Skelmora
Exec=\"${app}/quorlin\"
Path=${app}
Icon=quorlin
Terminal=false
Categories=Game;Development;
")
  message(STATUS "Installed launchers: ${dir}/brackle.desktop, ${dir}/quorlin.desktop")
]])
