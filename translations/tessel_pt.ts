<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="pt_BR" sourcelanguage="en">
<context>
    <name></name>
    <message id="menu_open_clipboard">
        <source>Open history</source>
        <translation>Abrir histórico</translation>
    </message>
    <message id="menu_open_emojis">
        <source>Open emojis</source>
        <translation>Abrir emojis</translation>
    </message>
    <message id="menu_preferences">
        <source>Preferences…</source>
        <translation>Preferências…</translation>
    </message>
    <message id="menu_quit">
        <source>Quit Tessel</source>
        <translation>Sair do Tessel</translation>
    </message>
    <message id="app_title">
        <source>Tessel</source>
        <translation>Tessel</translation>
    </message>
    <message id="history_not_saved">
        <source>History not saved: it is kept in memory and saved as soon as it can be</source>
        <translation>Histórico não salvo: fica na memória e será salvo assim que possível</translation>
    </message>
    <message id="lang_system">
        <source>🌐 Automatic (System)</source>
        <translation>🌐 Automático (Sistema)</translation>
    </message>
    <message id="language_name">
        <source>🇺🇸 English (US)</source>
        <translation>🇧🇷 Português (Brasil)</translation>
    </message>
    <message id="items_count_25">
        <source>25 items</source>
        <translation>25 itens</translation>
    </message>
    <message id="items_count_50">
        <source>50 items</source>
        <translation>50 itens</translation>
    </message>
    <message id="items_count_100">
        <source>100 items</source>
        <translation>100 itens</translation>
    </message>
    <message id="check_updates">
        <source>Check for Updates</source>
        <translation>Verificar atualizações</translation>
    </message>
    <message id="latest_version">
        <source>You are on the latest version! (1.0.0)</source>
        <translation>Você está na versão mais recente! (1.0.0)</translation>
    </message>
    <message id="quit_app">
        <source>Quit Tessel</source>
        <translation>Sair do Tessel</translation>
    </message>
    <message id="platform_shortcuts_note">
        <source>Tessel records what you copy on this desktop and pastes the entry you choose, but it cannot listen for its own shortcuts here. To open Tessel from any application, bind the command tessel --toggle to a shortcut in the desktop&apos;s keyboard settings.</source>
        <translation>O Tessel registra o que você copia neste ambiente e cola o item escolhido, mas não consegue detectar os próprios atalhos aqui. Para abrir o Tessel a partir de qualquer aplicativo, associe o comando tessel --toggle a um atalho nas configurações de teclado do sistema.</translation>
    </message>
    <message id="platform_xwayland_note">
        <source>Tessel records what you copy on this Wayland desktop, but auto-paste only reaches X11 applications (those that run through XWayland): elsewhere, paste the chosen entry with Ctrl+V. To open Tessel from any application, bind the command tessel --toggle to a shortcut in the desktop&apos;s keyboard settings.</source>
        <translation>O Tessel registra o que você copia neste ambiente Wayland, mas a colagem automática só chega a aplicativos X11 (os que rodam pelo XWayland): nos demais, cole o item escolhido com Ctrl+V. Para abrir o Tessel a partir de qualquer aplicativo, associe o comando tessel --toggle a um atalho nas configurações de teclado do sistema.</translation>
    </message>
    <message id="platform_paste_unavailable_note">
        <source>This desktop does not let Tessel type for you, so auto-paste is unavailable here. Choosing an entry still puts it on the clipboard: paste it with Ctrl+V.</source>
        <translation>Este ambiente não permite que o Tessel digite por você, então a colagem automática não está disponível aqui. Escolher um item ainda o coloca na área de transferência: cole com Ctrl+V.</translation>
    </message>
    <message id="kaomoji_happy">
        <source>Happy / Laugh</source>
        <translation>Feliz / Risada</translation>
    </message>
    <message id="kaomoji_action">
        <source>Table Flip / Action</source>
        <translation>Mesa / Ação</translation>
    </message>
    <message id="kaomoji_sad">
        <source>Sad / Surprised</source>
        <translation>Triste / Surpreso</translation>
    </message>
    <message id="kaomoji_love">
        <source>Love / Cute</source>
        <translation>Amor / Fofo</translation>
    </message>
    <message id="symbol_currency">
        <source>Currencies</source>
        <translation>Moedas</translation>
    </message>
    <message id="symbol_math">
        <source>Math</source>
        <translation>Matemática</translation>
    </message>
    <message id="symbol_punctuation">
        <source>Punctuation &amp; Symbols</source>
        <translation>Pontuação e símbolos</translation>
    </message>
    <message id="symbol_arrows">
        <source>Arrows</source>
        <translation>Setas</translation>
    </message>
    <message id="clear_all">
        <source>Clear all</source>
        <translation>Limpar tudo</translation>
    </message>
    <message id="clear_history_title">
        <source>Clear history?</source>
        <translation>Limpar histórico?</translation>
    </message>
    <message id="clear_history_sub">
        <source>All unpinned items will be removed.</source>
        <translation>Todos os itens não fixados serão removidos.</translation>
    </message>
    <message id="cancel">
        <source>Cancel</source>
        <translation>Cancelar</translation>
    </message>
    <message id="clear">
        <source>Clear</source>
        <translation>Limpar</translation>
    </message>
    <message id="empty_favorites_sub">
        <source>Your pinned favorite items will appear here.</source>
        <translation>Seus itens fixados aparecerão aqui.</translation>
    </message>
    <message id="empty_clipboard_sub">
        <source>Copy items (Ctrl+C) to see them appear here.</source>
        <translation>Copie itens (Ctrl+C) para vê-los aqui.</translation>
    </message>
    <message id="search_no_matches">
        <source>No matches</source>
        <translation>Nenhum resultado</translation>
    </message>
    <message id="empty_clipboard">
        <source>Your clipboard is empty</source>
        <translation>Sua área de transferência está vazia</translation>
    </message>
    <message id="delete_item">
        <source>Delete from history</source>
        <translation>Excluir do histórico</translation>
    </message>
    <message id="search_emojis_placeholder">
        <source>Search emojis...</source>
        <translation>Buscar emojis...</translation>
    </message>
    <message id="search_history_placeholder">
        <source>Search history...</source>
        <translation>Buscar no histórico...</translation>
    </message>
    <message id="header_title">
        <source>Tessel Clipboard</source>
        <translation>Emoji e mais</translation>
    </message>
    <message id="recent_emojis">
        <source>Recently used</source>
        <translation>Usados recentemente</translation>
    </message>
    <message id="all_emojis">
        <source>All emojis</source>
        <translation>Todos os emojis</translation>
    </message>
    <message id="unpin_item">
        <source>Unpin item</source>
        <translation>Desafixar item</translation>
    </message>
    <message id="pin_item">
        <source>Pin item</source>
        <translation>Fixar item</translation>
    </message>
    <message id="open_system_settings">
        <source>How to Enable</source>
        <translation>Como ativar</translation>
    </message>
    <message id="request_again">
        <source>Check Again</source>
        <translation>Verificar novamente</translation>
    </message>
    <message id="platform_notice_dismiss">
        <source>Got It</source>
        <translation>Entendi</translation>
    </message>
    <message id="platform_notice_title">
        <source>How Tessel Works Here</source>
        <translation>Como o Tessel funciona aqui</translation>
    </message>
    <message id="onboarding_title">
        <source>Keystroke Permission</source>
        <translation>Permissão de envio de teclas</translation>
    </message>
    <message id="onboarding_subtitle">
        <source>Tessel needs an X11 session (or XWayland) to detect global keyboard shortcuts and auto-paste.</source>
        <translation>O Tessel precisa de uma sessão X11 (ou XWayland) para detectar atalhos globais de teclado e colar automaticamente.</translation>
    </message>
    <message id="access_granted">
        <source>Keystrokes Allowed</source>
        <translation>Envio de teclas permitido</translation>
    </message>
    <message id="tab_clipboard">
        <source>Clipboard</source>
        <translation>Clipboard</translation>
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
        <translation>Gerenciador de área de transferência com seletor de emojis e símbolos para Linux</translation>
    </message>
    <message id="support">
        <source>Support</source>
        <translation>Suporte</translation>
    </message>
    <message id="developed_by">
        <source>Made by the Tessel developers</source>
        <translation>Feito pelos desenvolvedores do Tessel</translation>
    </message>
    <message id="rights_reserved">
        <source>© 2025 The Tessel developers. All rights reserved.</source>
        <translation>© 2025 Desenvolvedores do Tessel. Todos os direitos reservados.</translation>
    </message>
    <message id="about_tessel">
        <source>About Tessel...</source>
        <translation>Sobre o Tessel...</translation>
    </message>
    <message id="app_version_format">
        <source>Version %1 (Build %2)</source>
        <translation>Versão %1 (Build %2)</translation>
    </message>
    <message id="section_visual_theme">
        <source>Visual &amp; Theme</source>
        <translation>Visual e tema</translation>
    </message>
    <message id="theme_label">
        <source>UI Visual Theme:</source>
        <translation>Tema visual da interface:</translation>
    </message>
    <message id="theme_system">
        <source>Follow system</source>
        <translation>Seguir o sistema</translation>
    </message>
    <message id="theme_dark">
        <source>Liquid Dark (Dark)</source>
        <translation>Liquid Escuro (Escuro)</translation>
    </message>
    <message id="theme_light">
        <source>Liquid Light (Light)</source>
        <translation>Liquid Claro (Claro)</translation>
    </message>
    <message id="section_behavior">
        <source>Behavior</source>
        <translation>Comportamento</translation>
    </message>
    <message id="auto_paste">
        <source>Auto-paste on select</source>
        <translation>Colar automaticamente ao selecionar</translation>
    </message>
    <message id="auto_paste_sub">
        <source>Pastes item directly into the active app upon click</source>
        <translation>Cola o item direto no app ativo ao clicar</translation>
    </message>
    <message id="confirm_clear">
        <source>Confirm before clearing history</source>
        <translation>Confirmar antes de limpar o histórico</translation>
    </message>
    <message id="confirm_clear_sub">
        <source>Displays a confirmation alert when clicking &apos;Clear all&apos;</source>
        <translation>Mostra um alerta de confirmação ao clicar em &apos;Limpar tudo&apos;</translation>
    </message>
    <message id="sound_effects">
        <source>Subtle sound effects</source>
        <translation>Efeitos sonoros sutis</translation>
    </message>
    <message id="sound_effects_sub">
        <source>Plays a soft sound when selecting and pasting elements</source>
        <translation>Toca um som suave ao selecionar e colar itens</translation>
    </message>
    <message id="launch_at_login">
        <source>Launch at login</source>
        <translation>Abrir ao iniciar a sessão</translation>
    </message>
    <message id="launch_at_login_sub">
        <source>Opens Tessel automatically when you log in to your session</source>
        <translation>Abre o Tessel automaticamente ao entrar na sua sessão</translation>
    </message>
    <message id="launch_at_login_error">
        <source>Could not change the launch at login setting.</source>
        <translation>Não foi possível alterar a opção de abrir ao iniciar a sessão.</translation>
    </message>
    <message id="section_language">
        <source>Language</source>
        <translation>Idioma</translation>
    </message>
    <message id="language_label">
        <source>Interface Language:</source>
        <translation>Idioma da interface:</translation>
    </message>
    <message id="section_storage">
        <source>Storage</source>
        <translation>Armazenamento</translation>
    </message>
    <message id="history_limit">
        <source>Maximum history items limit:</source>
        <translation>Limite máximo de itens no histórico:</translation>
    </message>
    <message id="items_count_format" numerus="yes">
        <source>%n items</source>
        <translation>
            <numerusform>%n item</numerusform>
            <numerusform>%n itens</numerusform>
        </translation>
    </message>
    <message id="settings_title">
        <source>Tessel Settings</source>
        <translation>Configurações do Tessel</translation>
    </message>
    <message id="settings_subtitle">
        <source>Customize behavior, privacy and shortcuts</source>
        <translation>Personalize comportamento, privacidade e atalhos</translation>
    </message>
    <message id="tab_general">
        <source>General</source>
        <translation>Geral</translation>
    </message>
    <message id="tab_appearance">
        <source>Appearance</source>
        <translation>Aparência</translation>
    </message>
    <message id="tab_privacy">
        <source>Privacy</source>
        <translation>Privacidade</translation>
    </message>
    <message id="tab_shortcuts">
        <source>Shortcuts</source>
        <translation>Atalhos</translation>
    </message>
    <message id="section_sensitive_data">
        <source>Sensitive Data Protection</source>
        <translation>Proteção de dados sensíveis</translation>
    </message>
    <message id="ignore_passwords">
        <source>Ignore Password Managers</source>
        <translation>Ignorar gerenciadores de senhas</translation>
    </message>
    <message id="ignore_passwords_sub">
        <source>Does not record passwords copied from KeePassXC, 1Password, Bitwarden, etc.</source>
        <translation>Não registra senhas copiadas do KeePassXC, 1Password, Bitwarden etc.</translation>
    </message>
    <message id="section_accessibility">
        <source>Keystroke Permission (X11)</source>
        <translation>Permissão de envio de teclas (X11)</translation>
    </message>
    <message id="acc_card_paste_title">
        <source>Instant Auto-Paste</source>
        <translation>Colagem automática instantânea</translation>
    </message>
    <message id="acc_card_paste_sub">
        <source>Inserts items and emojis into focused app with 1 click</source>
        <translation>Insere itens e emojis no app em foco com 1 clique</translation>
    </message>
    <message id="acc_card_shortcuts_title">
        <source>System Global Shortcuts</source>
        <translation>Atalhos globais do sistema</translation>
    </message>
    <message id="acc_card_shortcuts_sub">
        <source>Open clipboard from anywhere via Super+Shift+V</source>
        <translation>Abra o clipboard de qualquer lugar com Super+Shift+V</translation>
    </message>
    <message id="acc_card_privacy_title">
        <source>100% Local Privacy</source>
        <translation>Privacidade 100% local</translation>
    </message>
    <message id="acc_card_privacy_sub">
        <source>Offline processing on your computer, zero tracking</source>
        <translation>Processamento offline no seu computador, zero rastreamento</translation>
    </message>
    <message id="access_all_verified">
        <source>All operating system permissions are verified.</source>
        <translation>Todas as permissões do sistema operacional estão verificadas.</translation>
    </message>
    <message id="acc_step_1">
        <source>1. Click the button below to open the help page</source>
        <translation>1. Clique no botão abaixo para abrir a página de ajuda</translation>
    </message>
    <message id="acc_step_2">
        <source>2. Restart Tessel in an X11 session or through XWayland</source>
        <translation>2. Reinicie o Tessel em uma sessão X11 ou pelo XWayland</translation>
    </message>
    <message id="open_access_settings">
        <source>How to Enable</source>
        <translation>Como ativar</translation>
    </message>
    <message id="access_denied">
        <source>X11 Session Required</source>
        <translation>Sessão X11 necessária</translation>
    </message>
    <message id="access_granted_sub">
        <source>Tessel has all required permissions to paste and listen to shortcuts.</source>
        <translation>O Tessel tem todas as permissões necessárias para colar e ouvir atalhos.</translation>
    </message>
    <message id="access_denied_sub">
        <source>Auto-paste and global shortcuts need an X11 session (or XWayland).</source>
        <translation>Colar automaticamente e atalhos globais exigem uma sessão X11 (ou XWayland).</translation>
    </message>
    <message id="status_active">
        <source>ACTIVE</source>
        <translation>ATIVO</translation>
    </message>
    <message id="status_pending">
        <source>PENDING</source>
        <translation>PENDENTE</translation>
    </message>
    <message id="shortcut_min_error">
        <source>Shortcut requires at least 2 keys (e.g. Super, Shift + key).</source>
        <translation>O atalho exige no mínimo 2 teclas (ex: Super, Shift + tecla).</translation>
    </message>
    <message id="shortcut_duplicate_error">
        <source>This shortcut is already used by the other command.</source>
        <translation>Este atalho já está em uso pelo outro comando.</translation>
    </message>
    <message id="shortcut_taken_error">
        <source>This shortcut is already used by the desktop or another app.</source>
        <translation>Este atalho já é usado pela área de trabalho ou por outro app.</translation>
    </message>
    <message id="section_shortcuts">
        <source>System Global Shortcuts</source>
        <translation>Atalhos globais do sistema</translation>
    </message>
    <message id="shortcut_clipboard">
        <source>Clipboard</source>
        <translation>Clipboard</translation>
    </message>
    <message id="shortcut_emoji">
        <source>Emojis, Kaomoji and Symbols</source>
        <translation>Emojis, kaomoji e símbolos</translation>
    </message>
    <message id="shortcut_tip">
        <source>Tip: Shortcut combination requires at least 2 keys (modifier + key).</source>
        <translation>Dica: o atalho exige no mínimo 2 teclas (modificador + tecla).</translation>
    </message>
    <message id="reset_shortcuts">
        <source>Reset Default Shortcuts</source>
        <translation>Restaurar atalhos padrão</translation>
    </message>
    <message id="press_keys_prompt">
        <source>Press shortcut keys...</source>
        <translation>Pressione as teclas...</translation>
    </message>
    <message id="image_row_name">
        <source>[Image %1]</source>
        <translation>[Imagem %1]</translation>
    </message>
    <message id="about_window_title">
        <source>About Tessel</source>
        <translation>Sobre o Tessel</translation>
    </message>
    <message id="key_code">
        <source>Key %1</source>
        <translation>Tecla %1</translation>
    </message>
    <message id="key_return">
        <source>Return</source>
        <translation>Enter</translation>
    </message>
    <message id="key_tab">
        <source>Tab</source>
        <translation>Tab</translation>
    </message>
    <message id="key_space">
        <source>Space</source>
        <translation>Espaço</translation>
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
        <translation>Shift</translation>
    </message>
    <message id="desktop_shortcuts_add">
        <source>Add the Shortcuts to GNOME</source>
        <translation>Adicionar os atalhos ao GNOME</translation>
    </message>
    <message id="desktop_shortcuts_toggle_sub">
        <source>Tessel adds them to GNOME&apos;s custom shortcuts (tessel --toggle, tessel --emoji) and keeps them in step; turning this off removes them.</source>
        <translation>O Tessel os adiciona aos atalhos personalizados do GNOME (tessel --toggle, tessel --emoji) e os mantém em dia; desligar isto os remove.</translation>
    </message>
    <message id="desktop_paste_refused">
        <source>You did not allow Tessel to type into this desktop&apos;s windows: chosen entries go to the clipboard, and Ctrl+V pastes them.</source>
        <translation>Você não permitiu que o Tessel digitasse nas janelas deste ambiente: os itens escolhidos vão para a área de transferência, e Ctrl+V os cola.</translation>
    </message>
    <message id="desktop_paste_ask_again">
        <source>Ask Again at the Next Paste</source>
        <translation>Perguntar de novo na próxima colagem</translation>
    </message>
    <message id="desktop_shortcuts_toggle">
        <source>Keep these shortcuts in the desktop&apos;s settings</source>
        <translation>Manter estes atalhos nas configurações do ambiente</translation>
    </message>
    <message id="desktop_shortcuts_failed">
        <source>The desktop&apos;s keyboard settings could not be changed.</source>
        <translation>Não foi possível alterar as configurações de teclado do ambiente.</translation>
    </message>
    <message id="desktop_action_clipboard">
        <source>Open the clipboard history</source>
        <translation>Abrir o histórico da área de transferência</translation>
    </message>
    <message id="desktop_action_emoji">
        <source>Open the emoji picker</source>
        <translation>Abrir o seletor de emojis</translation>
    </message>
    <message id="desktop_binding_clipboard">
        <source>Tessel: clipboard history</source>
        <translation>Tessel: histórico da área de transferência</translation>
    </message>
    <message id="desktop_binding_emoji">
        <source>Tessel: emoji</source>
        <translation>Tessel: emojis</translation>
    </message>
    <message id="preview_title">
        <source>Entry preview</source>
        <translation>Prévia do item</translation>
    </message>
    <message id="preview_text_size">
        <source>Lines: %1 · Characters: %2</source>
        <translation>Linhas: %1 · Caracteres: %2</translation>
    </message>
    <message id="preview_image_size">
        <source>%1 × %2 pixels · %3</source>
        <translation>%1 × %2 pixels · %3</translation>
    </message>
    <message id="ignored_apps_sub">
        <source>Nothing copied while one of these applications is in front is recorded.</source>
        <translation>Nada do que for copiado com um destes aplicativos em primeiro plano é registrado.</translation>
    </message>
    <message id="ignored_apps_empty">
        <source>No applications added.</source>
        <translation>Nenhum aplicativo adicionado.</translation>
    </message>
    <message id="ignored_apps_add">
        <source>Add</source>
        <translation>Adicionar</translation>
    </message>
    <message id="ignored_apps_remove">
        <source>Remove</source>
        <translation>Remover</translation>
    </message>
    <message id="section_ignored_apps">
        <source>Ignored Applications</source>
        <translation>Aplicativos ignorados</translation>
    </message>
    <message id="ignored_apps_placeholder">
        <source>Application id, or pick an open window</source>
        <translation>ID do aplicativo, ou escolha uma janela aberta</translation>
    </message>
    <message id="emoji_category_smileys">
        <source>Smileys &amp; People</source>
        <translation>Carinhas e pessoas</translation>
    </message>
    <message id="emoji_category_animals">
        <source>Animals &amp; Nature</source>
        <translation>Animais e natureza</translation>
    </message>
    <message id="emoji_category_food">
        <source>Food &amp; Drink</source>
        <translation>Comidas e bebidas</translation>
    </message>
    <message id="emoji_category_travel">
        <source>Travel &amp; Places</source>
        <translation>Viagens e lugares</translation>
    </message>
    <message id="emoji_category_activities">
        <source>Activities</source>
        <translation>Atividades</translation>
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
        <translation>Bandeiras</translation>
    </message>
    <message id="image_row_accessible">
        <source>Image, %1 x %2</source>
        <translation>Imagem, %1 x %2</translation>
    </message>
    <message id="image_row_accessible_unsized">
        <source>Image</source>
        <translation>Imagem</translation>
    </message>
    <message id="pinned_state">
        <source>Pinned</source>
        <translation>Fixado</translation>
    </message>
    <message id="clear_search">
        <source>Clear search</source>
        <translation>Limpar busca</translation>
    </message>
    <message id="close_popup">
        <source>Close</source>
        <translation>Fechar</translation>
    </message>
    <message id="website_link_name">
        <source>Website, %1</source>
        <translation>Site, %1</translation>
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
