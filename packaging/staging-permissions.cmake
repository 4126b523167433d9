# Run by CPack on its staging folder, after the install and before the
# package is made. The folders the install created there were made with the
# builder's umask (mkdir applies it whatever mode CMake asks for), and a
# package's folders must be 0755 however it was built. The files already
# have their own modes from install(): 0644, and 0755 for the program.
file(CHMOD_RECURSE "${CPACK_TEMPORARY_INSTALL_DIRECTORY}"
  DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
