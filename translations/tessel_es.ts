<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="es" sourcelanguage="en">
<context>
    <name></name>
    <message id="menu_open_clipboard">
        <source>Open history</source>
        <translation>Abrir historial</translation>
    </message>
    <message id="menu_open_emojis">
        <source>Open emojis</source>
        <translation>Abrir emojis</translation>
    </message>
    <message id="menu_preferences">
        <source>Preferences…</source>
        <translation>Preferencias…</translation>
    </message>
    <message id="menu_quit">
        <source>Quit Tessel</source>
        <translation>Salir de Tessel</translation>
    </message>
    <message id="app_title">
        <source>Tessel</source>
        <translation>Tessel</translation>
    </message>
    <message id="history_not_saved">
        <source>History not saved: it is kept in memory and saved as soon as it can be</source>
        <translation>Historial no guardado: se conserva en memoria y se guardará en cuanto sea posible</translation>
    </message>
    <message id="lang_system">
        <source>🌐 Automatic (System)</source>
        <translation>🌐 Automático (Sistema)</translation>
    </message>
    <message id="language_name">
        <source>🇺🇸 English (US)</source>
        <translation>🇪🇸 Español</translation>
    </message>
    <message id="items_count_25">
        <source>25 items</source>
        <translation>25 elementos</translation>
    </message>
    <message id="items_count_50">
        <source>50 items</source>
        <translation>50 elementos</translation>
    </message>
    <message id="items_count_100">
        <source>100 items</source>
        <translation>100 elementos</translation>
    </message>
    <message id="check_updates">
        <source>Check for Updates</source>
        <translation>Buscar actualizaciones</translation>
    </message>
    <message id="latest_version">
        <source>You are on the latest version! (1.0.0)</source>
        <translation>¡Tienes la versión más reciente! (1.0.0)</translation>
    </message>
    <message id="quit_app">
        <source>Quit Tessel</source>
        <translation>Salir de Tessel</translation>
    </message>
    <message id="platform_shortcuts_note">
        <source>Tessel records what you copy on this desktop and pastes the entry you choose, but it cannot listen for its own shortcuts here. To open Tessel from any application, bind the command tessel --toggle to a shortcut in the desktop&apos;s keyboard settings.</source>
        <translation>Tessel registra lo que copias en este escritorio y pega el elemento que eliges, pero aquí no puede detectar sus propios atajos. Para abrir Tessel desde cualquier aplicación, asigna el comando tessel --toggle a un atajo en la configuración de teclado del escritorio.</translation>
    </message>
    <message id="platform_xwayland_note">
        <source>Tessel records what you copy on this Wayland desktop, but auto-paste only reaches X11 applications (those that run through XWayland): elsewhere, paste the chosen entry with Ctrl+V. To open Tessel from any application, bind the command tessel --toggle to a shortcut in the desktop&apos;s keyboard settings.</source>
        <translation>Tessel registra lo que copias en este escritorio Wayland, pero el pegado automático solo llega a las aplicaciones X11 (las que funcionan a través de XWayland): en las demás, pega el elemento elegido con Ctrl+V. Para abrir Tessel desde cualquier aplicación, asigna el comando tessel --toggle a un atajo en la configuración de teclado del escritorio.</translation>
    </message>
    <message id="platform_paste_unavailable_note">
        <source>This desktop does not let Tessel type for you, so auto-paste is unavailable here. Choosing an entry still puts it on the clipboard: paste it with Ctrl+V.</source>
        <translation>Este escritorio no permite que Tessel escriba por ti, así que el pegado automático no está disponible aquí. Elegir un elemento lo sigue poniendo en el portapapeles: pégalo con Ctrl+V.</translation>
    </message>
    <message id="kaomoji_happy">
        <source>Happy / Laugh</source>
        <translation>Feliz / Risa</translation>
    </message>
    <message id="kaomoji_action">
        <source>Table Flip / Action</source>
        <translation>Mesa / Acción</translation>
    </message>
    <message id="kaomoji_sad">
        <source>Sad / Surprised</source>
        <translation>Triste / Sorprendido</translation>
    </message>
    <message id="kaomoji_love">
        <source>Love / Cute</source>
        <translation>Amor / Tierno</translation>
    </message>
    <message id="symbol_currency">
        <source>Currencies</source>
        <translation>Monedas</translation>
    </message>
    <message id="symbol_math">
        <source>Math</source>
        <translation>Matemáticas</translation>
    </message>
    <message id="symbol_punctuation">
        <source>Punctuation &amp; Symbols</source>
        <translation>Puntuación y símbolos</translation>
    </message>
    <message id="symbol_arrows">
        <source>Arrows</source>
        <translation>Flechas</translation>
    </message>
    <message id="clear_all">
        <source>Clear all</source>
        <translation>Borrar todo</translation>
    </message>
    <message id="clear_history_title">
        <source>Clear history?</source>
        <translation>¿Borrar historial?</translation>
    </message>
    <message id="clear_history_sub">
        <source>All unpinned items will be removed.</source>
        <translation>Se eliminarán todos los elementos no fijados.</translation>
    </message>
    <message id="cancel">
        <source>Cancel</source>
        <translation>Cancelar</translation>
    </message>
    <message id="clear">
        <source>Clear</source>
        <translation>Borrar</translation>
    </message>
    <message id="empty_favorites_sub">
        <source>Your pinned favorite items will appear here.</source>
        <translation>Tus elementos fijados aparecerán aquí.</translation>
    </message>
    <message id="empty_clipboard_sub">
        <source>Copy items (Ctrl+C) to see them appear here.</source>
        <translation>Copia elementos (Ctrl+C) para verlos aquí.</translation>
    </message>
    <message id="search_no_matches">
        <source>No matches</source>
        <translation>Sin resultados</translation>
    </message>
    <message id="empty_clipboard">
        <source>Your clipboard is empty</source>
        <translation>Tu portapapeles está vacío</translation>
    </message>
    <message id="delete_item">
        <source>Delete from history</source>
        <translation>Eliminar del historial</translation>
    </message>
    <message id="search_emojis_placeholder">
        <source>Search emojis...</source>
        <translation>Buscar emojis...</translation>
    </message>
    <message id="search_history_placeholder">
        <source>Search history...</source>
        <translation>Buscar en el historial...</translation>
    </message>
    <message id="header_title">
        <source>Tessel Clipboard</source>
        <translation>Emoji y más</translation>
    </message>
    <message id="recent_emojis">
        <source>Recently used</source>
        <translation>Usados recientemente</translation>
    </message>
    <message id="all_emojis">
        <source>All emojis</source>
        <translation>Todos los emojis</translation>
    </message>
    <message id="unpin_item">
        <source>Unpin item</source>
        <translation>Desfijar elemento</translation>
    </message>
    <message id="pin_item">
        <source>Pin item</source>
        <translation>Fijar elemento</translation>
    </message>
    <message id="open_system_settings">
        <source>How to Enable</source>
        <translation>Cómo activar</translation>
    </message>
    <message id="request_again">
        <source>Check Again</source>
        <translation>Comprobar de nuevo</translation>
    </message>
    <message id="platform_notice_dismiss">
        <source>Got It</source>
        <translation>Entendido</translation>
    </message>
    <message id="platform_notice_title">
        <source>How Tessel Works Here</source>
        <translation>Cómo funciona Tessel aquí</translation>
    </message>
    <message id="onboarding_title">
        <source>Keystroke Permission</source>
        <translation>Permiso de envío de pulsaciones</translation>
    </message>
    <message id="onboarding_subtitle">
        <source>Tessel needs an X11 session (or XWayland) to detect global keyboard shortcuts and auto-paste.</source>
        <translation>Tessel necesita una sesión X11 (o XWayland) para detectar atajos de teclado globales y pegar automáticamente.</translation>
    </message>
    <message id="access_granted">
        <source>Keystrokes Allowed</source>
        <translation>Envío de pulsaciones permitido</translation>
    </message>
    <message id="tab_clipboard">
        <source>Clipboard</source>
        <translation>Portapapeles</translation>
    </message>
    <message id="tab_emoji">
        <source>Emojis</source>
        <translation>Emojis</translation>
    </message>
    <message id="tab_kaomoji">
        <source>Kaomoji</source>
        <translation>Kaomoji</translation>
    </message>
    <message id="tab_symbols">
        <source>Symbols</source>
        <translation>Símbolos</translation>
    </message>
    <message id="tab_favorites">
        <source>Favorites</source>
        <translation>Favoritos</translation>
    </message>
    <message id="app_subtitle">
        <source>Clipboard manager with emoji and symbol picker for Linux</source>
        <translation>Gestor de portapapeles con selector de emojis y símbolos para Linux</translation>
    </message>
    <message id="support">
        <source>Support</source>
        <translation>Soporte</translation>
    </message>
    <message id="developed_by">
        <source>Made by the Tessel developers</source>
        <translation>Hecho por los desarrolladores de Tessel</translation>
    </message>
    <message id="rights_reserved">
        <source>© 2025 The Tessel developers. All rights reserved.</source>
        <translation>© 2025 Desarrolladores de Tessel. Todos los derechos reservados.</translation>
    </message>
    <message id="about_tessel">
        <source>About Tessel...</source>
        <translation>Acerca de Tessel...</translation>
    </message>
    <message id="app_version_format">
        <source>Version %1 (Build %2)</source>
        <translation>Versión %1 (Build %2)</translation>
    </message>
    <message id="section_visual_theme">
        <source>Visual &amp; Theme</source>
        <translation>Visual y tema</translation>
    </message>
    <message id="theme_label">
        <source>UI Visual Theme:</source>
        <translation>Tema visual de la interfaz:</translation>
    </message>
    <message id="theme_system">
        <source>Follow system</source>
        <translation>Seguir el sistema</translation>
    </message>
    <message id="theme_dark">
        <source>Liquid Dark (Dark)</source>
        <translation>Liquid Oscuro (Oscuro)</translation>
    </message>
    <message id="theme_light">
        <source>Liquid Light (Light)</source>
        <translation>Liquid Claro (Claro)</translation>
    </message>
    <message id="section_behavior">
        <source>Behavior</source>
        <translation>Comportamiento</translation>
    </message>
    <message id="auto_paste">
        <source>Auto-paste on select</source>
        <translation>Pegar automáticamente al seleccionar</translation>
    </message>
    <message id="auto_paste_sub">
        <source>Pastes item directly into the active app upon click</source>
        <translation>Pega el elemento directamente en la app activa al hacer clic</translation>
    </message>
    <message id="confirm_clear">
        <source>Confirm before clearing history</source>
        <translation>Confirmar antes de borrar el historial</translation>
    </message>
    <message id="confirm_clear_sub">
        <source>Displays a confirmation alert when clicking &apos;Clear all&apos;</source>
        <translation>Muestra una alerta de confirmación al hacer clic en &apos;Borrar todo&apos;</translation>
    </message>
    <message id="sound_effects">
        <source>Subtle sound effects</source>
        <translation>Efectos de sonido sutiles</translation>
    </message>
    <message id="sound_effects_sub">
        <source>Plays a soft sound when selecting and pasting elements</source>
        <translation>Reproduce un sonido suave al seleccionar y pegar elementos</translation>
    </message>
    <message id="launch_at_login">
        <source>Launch at login</source>
        <translation>Abrir al iniciar sesión</translation>
    </message>
    <message id="launch_at_login_sub">
        <source>Opens Tessel automatically when you log in to your session</source>
        <translation>Abre Tessel automáticamente al iniciar tu sesión</translation>
    </message>
    <message id="launch_at_login_error">
        <source>Could not change the launch at login setting.</source>
        <translation>No se pudo cambiar la opción de abrir al iniciar sesión.</translation>
    </message>
    <message id="section_language">
        <source>Language</source>
        <translation>Idioma</translation>
    </message>
    <message id="language_label">
        <source>Interface Language:</source>
        <translation>Idioma de la interfaz:</translation>
    </message>
    <message id="section_storage">
        <source>Storage</source>
        <translation>Almacenamiento</translation>
    </message>
    <message id="history_limit">
        <source>Maximum history items limit:</source>
        <translation>Límite máximo de elementos del historial:</translation>
    </message>
    <message id="items_count_format" numerus="yes">
        <source>%n items</source>
        <translation>
            <numerusform>%n elemento</numerusform>
            <numerusform>%n elementos</numerusform>
        </translation>
    </message>
    <message id="settings_title">
        <source>Tessel Settings</source>
        <translation>Ajustes de Tessel</translation>
    </message>
    <message id="settings_subtitle">
        <source>Customize behavior, privacy and shortcuts</source>
        <translation>Personaliza el comportamiento, la privacidad y los atajos</translation>
    </message>
    <message id="tab_general">
        <source>General</source>
        <translation>General</translation>
    </message>
    <message id="tab_appearance">
        <source>Appearance</source>
        <translation>Apariencia</translation>
    </message>
    <message id="tab_privacy">
        <source>Privacy</source>
        <translation>Privacidad</translation>
    </message>
    <message id="tab_shortcuts">
        <source>Shortcuts</source>
        <translation>Atajos</translation>
    </message>
    <message id="section_sensitive_data">
        <source>Sensitive Data Protection</source>
        <translation>Protección de datos sensibles</translation>
    </message>
    <message id="ignore_passwords">
        <source>Ignore Password Managers</source>
        <translation>Ignorar gestores de contraseñas</translation>
    </message>
    <message id="ignore_passwords_sub">
        <source>Does not record passwords copied from KeePassXC, 1Password, Bitwarden, etc.</source>
        <translation>No registra contraseñas copiadas de KeePassXC, 1Password, Bitwarden, etc.</translation>
    </message>
    <message id="section_accessibility">
        <source>Keystroke Permission (X11)</source>
        <translation>Permiso de envío de pulsaciones (X11)</translation>
    </message>
    <message id="acc_card_paste_title">
        <source>Instant Auto-Paste</source>
        <translation>Pegado automático instantáneo</translation>
    </message>
    <message id="acc_card_paste_sub">
        <source>Inserts items and emojis into focused app with 1 click</source>
        <translation>Inserta elementos y emojis en la app activa con 1 clic</translation>
    </message>
    <message id="acc_card_shortcuts_title">
        <source>System Global Shortcuts</source>
        <translation>Atajos globales del sistema</translation>
    </message>
    <message id="acc_card_shortcuts_sub">
        <source>Open clipboard from anywhere via Super+Shift+V</source>
        <translation>Abre el portapapeles desde cualquier lugar con Super+Shift+V</translation>
    </message>
    <message id="acc_card_privacy_title">
        <source>100% Local Privacy</source>
        <translation>Privacidad 100% local</translation>
    </message>
    <message id="acc_card_privacy_sub">
        <source>Offline processing on your computer, zero tracking</source>
        <translation>Procesamiento sin conexión en tu equipo, cero rastreo</translation>
    </message>
    <message id="access_all_verified">
        <source>All operating system permissions are verified.</source>
        <translation>Todos los permisos del sistema operativo están verificados.</translation>
    </message>
    <message id="acc_step_1">
        <source>1. Click the button below to open the help page</source>
        <translation>1. Haz clic en el botón de abajo para abrir la página de ayuda</translation>
    </message>
    <message id="acc_step_2">
        <source>2. Restart Tessel in an X11 session or through XWayland</source>
        <translation>2. Reinicia Tessel en una sesión X11 o mediante XWayland</translation>
    </message>
    <message id="open_access_settings">
        <source>How to Enable</source>
        <translation>Cómo activar</translation>
    </message>
    <message id="access_denied">
        <source>X11 Session Required</source>
        <translation>Sesión X11 necesaria</translation>
    </message>
    <message id="access_granted_sub">
        <source>Tessel has all required permissions to paste and listen to shortcuts.</source>
        <translation>Tessel tiene todos los permisos necesarios para pegar y escuchar atajos.</translation>
    </message>
    <message id="access_denied_sub">
        <source>Auto-paste and global shortcuts need an X11 session (or XWayland).</source>
        <translation>El pegado automático y los atajos globales necesitan una sesión X11 (o XWayland).</translation>
    </message>
    <message id="status_active">
        <source>ACTIVE</source>
        <translation>ACTIVO</translation>
    </message>
    <message id="status_pending">
        <source>PENDING</source>
        <translation>PENDENTE</translation>
    </message>
    <message id="shortcut_min_error">
        <source>Shortcut requires at least 2 keys (e.g. Super, Shift + key).</source>
        <translation>El atajo requiere al menos 2 teclas (ej: Super, Shift + tecla).</translation>
    </message>
    <message id="shortcut_duplicate_error">
        <source>This shortcut is already used by the other command.</source>
        <translation>Este atajo ya lo usa el otro comando.</translation>
    </message>
    <message id="shortcut_taken_error">
        <source>This shortcut is already used by the desktop or another app.</source>
        <translation>Este atajo ya lo usa el escritorio u otra app.</translation>
    </message>
    <message id="section_shortcuts">
        <source>System Global Shortcuts</source>
        <translation>Atajos globales del sistema</translation>
    </message>
    <message id="shortcut_clipboard">
        <source>Clipboard</source>
        <translation>Portapapeles</translation>
    </message>
    <message id="shortcut_emoji">
        <source>Emojis, Kaomoji and Symbols</source>
        <translation>Emojis, kaomoji y símbolos</translation>
    </message>
    <message id="shortcut_tip">
        <source>Tip: Shortcut combination requires at least 2 keys (modifier + key).</source>
        <translation>Consejo: el atajo requiere al menos 2 teclas (modificador + tecla).</translation>
    </message>
    <message id="reset_shortcuts">
        <source>Reset Default Shortcuts</source>
        <translation>Restablecer atajos predeterminados</translation>
    </message>
    <message id="press_keys_prompt">
        <source>Press shortcut keys...</source>
        <translation>Presione las teclas...</translation>
    </message>
    <message id="image_row_name">
        <source>[Image %1]</source>
        <translation>[Imagen %1]</translation>
    </message>
    <message id="about_window_title">
        <source>About Tessel</source>
        <translation>Acerca de Tessel</translation>
    </message>
    <message id="key_code">
        <source>Key %1</source>
        <translation>Tecla %1</translation>
    </message>
    <message id="key_return">
        <source>Return</source>
        <translation>Intro</translation>
    </message>
    <message id="key_tab">
        <source>Tab</source>
        <translation>Tab</translation>
    </message>
    <message id="key_space">
        <source>Space</source>
        <translation>Espacio</translation>
    </message>
    <message id="key_super">
        <source>Super</source>
        <translation>Super</translation>
    </message>
    <message id="key_ctrl">
        <source>Ctrl</source>
        <translation>Ctrl</translation>
    </message>
    <message id="key_alt">
        <source>Alt</source>
        <translation>Alt</translation>
    </message>
    <message id="key_shift">
        <source>Shift</source>
        <translation>Mayús</translation>
    </message>
    <message id="desktop_shortcuts_add">
        <source>Add the Shortcuts to GNOME</source>
        <translation>Añadir los atajos a GNOME</translation>
    </message>
    <message id="desktop_shortcuts_toggle_sub">
        <source>Tessel adds them to GNOME&apos;s custom shortcuts (tessel --toggle, tessel --emoji) and keeps them in step; turning this off removes them.</source>
        <translation>Tessel los añade a los atajos personalizados de GNOME (tessel --toggle, tessel --emoji) y los mantiene al día; al desactivarlo se eliminan.</translation>
    </message>
    <message id="desktop_paste_refused">
        <source>You did not allow Tessel to type into this desktop&apos;s windows: chosen entries go to the clipboard, and Ctrl+V pastes them.</source>
        <translation>No permitiste que Tessel escribiera en las ventanas de este escritorio: los elementos elegidos van al portapapeles y Ctrl+V los pega.</translation>
    </message>
    <message id="desktop_paste_ask_again">
        <source>Ask Again at the Next Paste</source>
        <translation>Preguntar de nuevo en el próximo pegado</translation>
    </message>
    <message id="desktop_shortcuts_toggle">
        <source>Keep these shortcuts in the desktop&apos;s settings</source>
        <translation>Mantener estos atajos en la configuración del escritorio</translation>
    </message>
    <message id="desktop_shortcuts_failed">
        <source>The desktop&apos;s keyboard settings could not be changed.</source>
        <translation>No se pudo cambiar la configuración de teclado del escritorio.</translation>
    </message>
    <message id="desktop_action_clipboard">
        <source>Open the clipboard history</source>
        <translation>Abrir el historial del portapapeles</translation>
    </message>
    <message id="desktop_action_emoji">
        <source>Open the emoji picker</source>
        <translation>Abrir el selector de emojis</translation>
    </message>
    <message id="desktop_binding_clipboard">
        <source>Tessel: clipboard history</source>
        <translation>Tessel: historial del portapapeles</translation>
    </message>
    <message id="desktop_binding_emoji">
        <source>Tessel: emoji</source>
        <translation>Tessel: emojis</translation>
    </message>
    <message id="preview_title">
        <source>Entry preview</source>
        <translation>Vista previa del elemento</translation>
    </message>
    <message id="preview_text_size">
        <source>Lines: %1 · Characters: %2</source>
        <translation>Líneas: %1 · Caracteres: %2</translation>
    </message>
    <message id="preview_image_size">
        <source>%1 × %2 pixels · %3</source>
        <translation>%1 × %2 píxeles · %3</translation>
    </message>
    <message id="ignored_apps_sub">
        <source>Nothing copied while one of these applications is in front is recorded.</source>
        <translation>No se registra nada de lo que se copie con una de estas aplicaciones al frente.</translation>
    </message>
    <message id="ignored_apps_empty">
        <source>No applications added.</source>
        <translation>No se añadió ninguna aplicación.</translation>
    </message>
    <message id="ignored_apps_add">
        <source>Add</source>
        <translation>Añadir</translation>
    </message>
    <message id="ignored_apps_remove">
        <source>Remove</source>
        <translation>Quitar</translation>
    </message>
    <message id="section_ignored_apps">
        <source>Ignored Applications</source>
        <translation>Aplicaciones ignoradas</translation>
    </message>
    <message id="ignored_apps_placeholder">
        <source>Application id, or pick an open window</source>
        <translation>ID de la aplicación, o elige una ventana abierta</translation>
    </message>
    <message id="emoji_category_smileys">
        <source>Smileys &amp; People</source>
        <translation>Caras y personas</translation>
    </message>
    <message id="emoji_category_animals">
        <source>Animals &amp; Nature</source>
        <translation>Animales y naturaleza</translation>
    </message>
    <message id="emoji_category_food">
        <source>Food &amp; Drink</source>
        <translation>Comida y bebida</translation>
    </message>
    <message id="emoji_category_travel">
        <source>Travel &amp; Places</source>
        <translation>Viajes y lugares</translation>
    </message>
    <message id="emoji_category_activities">
        <source>Activities</source>
        <translation>Actividades</translation>
    </message>
    <message id="emoji_category_objects">
        <source>Objects</source>
        <translation>Objetos</translation>
    </message>
    <message id="emoji_category_symbols">
        <source>Symbols</source>
        <translation>Símbolos</translation>
    </message>
    <message id="emoji_category_flags">
        <source>Flags</source>
        <translation>Banderas</translation>
    </message>
    <message id="image_row_accessible">
        <source>Image, %1 x %2</source>
        <translation>Imagen, %1 x %2</translation>
    </message>
    <message id="image_row_accessible_unsized">
        <source>Image</source>
        <translation>Imagen</translation>
    </message>
    <message id="pinned_state">
        <source>Pinned</source>
        <translation>Fijado</translation>
    </message>
    <message id="clear_search">
        <source>Clear search</source>
        <translation>Borrar búsqueda</translation>
    </message>
    <message id="close_popup">
        <source>Close</source>
        <translation>Cerrar</translation>
    </message>
    <message id="website_link_name">
        <source>Website, %1</source>
        <translation>Sitio web, %1</translation>
    </message>
    <message id="search_kaomoji_placeholder">
        <source>Search kaomoji...</source>
        <translation>Buscar kaomoji...</translation>
    </message>
    <message id="search_symbols_placeholder">
        <source>Search symbols...</source>
        <translation>Buscar símbolos...</translation>
    </message>
</context>
</TS>
